// The page's start. Form1 is already in the page, made from the game's own
// tables when the page was built; this loads the module and its fonts, binds
// the module to the board and hands it the player's events. No rule of the
// game is here: the module (bul-pgia.js) holds all of them.
import { loadBoardFonts } from "./fonts.js";
import { bindBoard } from "./binding.js";
import { showMessageBox } from "./message_box.js";
import { routeEvents } from "./events.js";
import { call, fail } from "./calls.js";

async function start() {
    const { elements, showCell, announce } = bindBoard();
    // The box has the focus from the start, as in the window, and before the
    // document's load ends: a screen reader learns the focus when the browser
    // reports the loaded document. Orca then takes the box as the focus and
    // enters its focus mode; a focus moved just after the load it may take
    // silently as part of the document and stay in browse mode, where digits
    // are its keys, not the box's. What is typed before the game is there
    // goes in below, once the Load has run.
    const text1 = elements.get("Text1");
    text1.focus();
    // bul-pgia.js is a classic script that ran before this module, or failed to load.
    if (typeof createBulPgia !== "function") {
        throw new Error("bul-pgia.js did not load");
    }
    // Events are taken from the start; the module's fetch and the Load are
    // one call, which what comes meanwhile waits for.
    let module = null;
    routeEvents(() => module, () => module !== null, elements);
    call(async () => {
        const fonts = loadBoardFonts(document.getElementById("Form1").dataset.face);
        const made = await createBulPgia({ page: { showCell, showMessageBox, announce } });
        await fonts;
        // The board showed before the game was there: what the player typed
        // meanwhile goes in as an edit once the Load has emptied the box.
        const typed = text1.value;
        made.ccall("bulPgiaLoad", null, [], []);
        text1.value = typed;
        module = made;
        // Where nothing moved it (a fragment may have), this does nothing.
        text1.focus();
        // The board answers from now on: what tells it from a board that only shows.
        document.getElementById("Form1").dataset.game = "loaded";
    });
    if (text1.value) {
        text1.dispatchEvent(new Event("input"));
    }
}

start().catch(fail);
