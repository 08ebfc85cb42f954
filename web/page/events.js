// The player's events into the game, each through the one guarded call:
// every button's click and the credit label's double-click by the control's
// name, and every edit of the guess box. Routed from the start: what the
// player does before the game has loaded is done, in order, once it has; an
// edit made during any other call goes in once that call has ended, so that
// the game always has what the box shows.
import { call, callOrKeep } from "./calls.js";

// `game()` is the module once it is there; `loaded()` says the Load has run.
export function routeEvents(game, loaded, elements) {
    const enter = (what) => (loaded() ? call : callOrKeep)(what);
    for (const [name, element] of elements) {
        if (element instanceof HTMLButtonElement) {
            element.addEventListener("click", () => enter(
                () => game().ccall("bulPgiaClick", "number", ["string"], [name], { async: true })));
        }
    }
    // As on the window, every second press of a quick run is a double-click,
    // the fourth as well as the second; a browser's dblclick is the second only.
    elements.get("Label6").addEventListener("click", (event) => {
        if (event.detail > 0 && event.detail % 2 === 0) {
            enter(() => game().ccall("bulPgiaDoubleClickLabel6", null, [], [], { async: true }));
        }
    });
    const text1 = elements.get("Text1");
    const edited = () => game().text1Edited(text1.value);
    text1.addEventListener("input", () => callOrKeep(edited));
    // The window has no default button: Enter clicks nothing, only Space
    // clicks the focused button (the message box keeps its OK for Enter).
    document.getElementById("Form1").addEventListener("keydown", (event) => {
        if (event.key === "Enter" && event.target instanceof HTMLButtonElement) {
            event.preventDefault();
        }
    });
    // Only the box and the buttons take the focus, on the board as in the
    // message box: a press anywhere else leaves it where it is.
    document.addEventListener("mousedown", (event) => {
        if (!event.target.closest("button, input")) {
            event.preventDefault();
        }
    });
}
