// The page's start. Form1 is already in the page, made from the game's own
// tables when the page was built; this loads the module and its fonts, binds
// the module to the board and hands it the player's events. No rule of the
// game is here: the module (bul-pgia.js) holds all of them.
import { loadBoardFonts } from "./fonts.js";
import { bindBoard } from "./binding.js";
import { showMessageBox } from "./message_box.js";
import { routeEvents } from "./events.js";
import { call, fail } from "./calls.js";

// Resolves in a task after the document's load event, once its handling,
// accessibility events included, is over.
function documentLoaded() {
    return new Promise((resolve) => {
        const after = () => setTimeout(resolve);
        if (document.readyState === "complete") {
            after();
        } else {
            window.addEventListener("load", after, { once: true });
        }
    });
}

async function start() {
    // bul-pgia.js is a classic script that ran before this module, or failed to load.
    if (typeof createBulPgia !== "function") {
        throw new Error("bul-pgia.js did not load");
    }
    const { elements, showCell, announce } = bindBoard();
    const fonts = loadBoardFonts(document.getElementById("Form1").dataset.face);
    // A browser without WebAssembly makes the factory throw at once rather than reject.
    const module = await createBulPgia({ page: { showCell, showMessageBox, announce } });
    await fonts;
    routeEvents(module, elements);
    // The board showed before the game was there: what the player typed
    // meanwhile goes in as an edit once the Load has emptied the box.
    const text1 = elements.get("Text1");
    const typed = text1.value;
    call(() => module.ccall("bulPgiaLoad", null, [], []));
    if (typed) {
        text1.value = typed;
        text1.dispatchEvent(new Event("input"));
    }
    // The box has the focus at the start, as in the window. A focus that
    // arrives while the document still loads, a screen reader takes as part
    // of the load, silently, and stays in its browse mode, where digits are
    // its keys, not the box's: so it moves in a task of its own once the
    // load has ended, which it then hears as the player's focus.
    await documentLoaded();
    text1.focus();
}

start().catch(fail);
