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

const canFocus = (control) => !control.disabled && control.checkVisibility();

// A control disabled or hidden with the focus passes it on, as the window
// does, to the next that can take it in the tab order (the page's order).
function passFocusOn(from) {
    const controls = [...document.querySelectorAll("#Form1 input, #Form1 button")];
    const at = controls.indexOf(from);
    [...controls.slice(at + 1), ...controls.slice(0, at)].find(canFocus)?.focus();
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
        if (focused && !canFocus(focused)) {
            passFocusOn(focused);
        }
    }

    // One sentence for what an event showed: the row's result, the secret;
    // nothing after an event that showed nothing, so no stale text stays.
    function announce(sentence) {
        news.textContent = sentence;
    }

    return { elements, showCell, announce };
}
