// The game's side of the page (Module.page): it shows each cell of the board
// in the element of the same name, already in the page, and speaks what a
// guess showed through the one live region. Text goes in only as text.

function elementsByName() {
    const elements = new Map();
    for (const element of document.querySelectorAll("#Form1 [id]")) {
        elements.set(element.id, element);
    }
    return elements;
}

// The focus of a control that can no longer have it (disabled, or hidden with
// the panel) goes on to the next control in the tab order that can, as the
// desktop moves it; the board's controls stand in the page in that order.
function passFocusOn(from) {
    const controls = [...document.querySelectorAll("#Form1 input, #Form1 button")];
    const at = controls.indexOf(from);
    for (let step = 1; step <= controls.length; ++step) {
        const next = controls[(at + step) % controls.length];
        if (!next.disabled && next.checkVisibility()) {
            next.focus();
            return;
        }
    }
}

export function bindBoard() {
    const elements = elementsByName();
    const news = document.getElementById("news");

    // The panel is called by its title, which the screen reader then need not read twice.
    function showFrameTitle(frame, text) {
        frame.querySelector(".title").textContent = text;
        frame.setAttribute("aria-label", text);
    }

    function showCell(name, text, visible, enabled) {
        const element = elements.get(name);
        if (!element) {
            throw new Error(`the page has no control ${name}`);
        }
        if (element instanceof HTMLInputElement) {
            // Rewriting an equal text would move the player's cursor.
            if (element.value !== text) {
                element.value = text;
            }
        } else if (element.classList.contains("frame")) {
            showFrameTitle(element, text);
        } else if (element instanceof HTMLButtonElement || element.classList.contains("label")) {
            if (element.textContent !== text) {
                element.textContent = text;
            }
        } else {
            throw new Error(`${name} is no control the game can show`);
        }
        const focused = element.contains(document.activeElement) ? document.activeElement : null;
        element.hidden = !visible;
        if ("disabled" in element) {
            element.disabled = !enabled;
        }
        if (focused && (focused.disabled || !focused.checkVisibility())) {
            passFocusOn(focused);
        }
    }

    // One sentence for what an event showed: the row's result, the secret;
    // empty after an event that showed nothing, so that no finished game's
    // text stays there to be read.
    function announce(sentence) {
        news.textContent = sentence;
    }

    return { elements, showCell, announce };
}
