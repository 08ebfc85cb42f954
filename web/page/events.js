// The player's events into the game, each through the one guarded call:
// every button's click and the credit label's double-click by the control's
// name, and every edit of the guess box: an edit made during another call
// goes in once that call has ended, so that the game always has what the box
// shows.
import { call, callOrKeep } from "./calls.js";

export function routeEvents(module, elements) {
    for (const [name, element] of elements) {
        if (element instanceof HTMLButtonElement) {
            element.addEventListener("click", () => call(
                () => module.ccall("bulPgiaClick", "number", ["string"], [name], { async: true })));
        }
    }
    elements.get("Label6").addEventListener("dblclick", () => call(
        () => module.ccall("bulPgiaDoubleClickLabel6", null, [], [], { async: true })));
    const text1 = elements.get("Text1");
    text1.addEventListener("input", () => callOrKeep(() => module.text1Edited(text1.value)));
}
