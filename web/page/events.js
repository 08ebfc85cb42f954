// The player's events into the game, each through the one guarded call:
// every button's click and the credit label's double-click by the control's
// name, and every edit of the guess box. What comes before the Load has run
// is done once it has, in order; an edit made during another call goes in
// once that call has ended, so that the game always has what the box shows.
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
    // As on the window, every second press of a quick run is a double-click.
    elements.get("Label6").addEventListener("click", (event) => {
        if (event.detail > 0 && event.detail % 2 === 0) {
            enter(() => game().ccall("bulPgiaDoubleClickLabel6", null, [], [], { async: true }));
        }
    });
    const text1 = elements.get("Text1");
    const edited = () => game().text1Edited(text1.value);
    text1.addEventListener("input", () => callOrKeep(edited));
    // No default button: Enter clicks none, Space the focused one.
    document.getElementById("Form1").addEventListener("keydown", (event) => {
        if (event.key === "Enter" && event.target instanceof HTMLButtonElement) {
            event.preventDefault();
        }
    });
    // Only the box and the buttons take the focus.
    document.addEventListener("mousedown", (event) => {
        if (!event.target.closest("button, input")) {
            event.preventDefault();
        }
    });
}
