// The one message box of the page: a modal alertdialog with its title, text
// and OK, which has the focus.

// Resolves once the player has dismissed the box: OK, Enter, Space or Escape.
export function showMessageBox(title, text) {
    const box = document.getElementById("messageBox");
    document.getElementById("messageBoxTitle").textContent = title;
    document.getElementById("messageBoxText").textContent = text;
    return new Promise((resolve) => {
        box.addEventListener("close", () => resolve(), { once: true });
        box.showModal();
        document.getElementById("messageBoxOk").focus();
    });
}
