// The one way into the module. One call at a time: a handler suspended under
// a message box must be resumed before anything else enters the module, as
// the desktop's modal box holds every other event of the window. A call that
// throws at once or fails later (a trap, an abort) ends the page with its
// failure line and the reason in the console, never a page that ignores
// every later click.
let running = false;
let failed = false;
// Calls kept for when the one under way has ended, in order (see callOrKeep).
const kept = [];

// Takes the board away and shows the one line that says the game cannot run here.
export function fail(reason) {
    failed = true;
    kept.length = 0;
    document.getElementById("place").replaceChildren();
    document.getElementById("failure").hidden = false;
    if (reason) {
        console.error(reason);
    }
}

function ended() {
    running = false;
    const next = kept.shift();
    if (next) {
        call(next);
    }
}

// Runs `enter`, a call into the module that may return a promise, unless
// another call is under way or the page has failed; returns whether it ran.
export function call(enter) {
    if (running || failed) {
        return false;
    }
    running = true;
    let result;
    try {
        result = enter();
    } catch (error) {
        fail(error);
        return true;
    }
    Promise.resolve(result).then(ended, fail);
    return true;
}

// Runs `enter` now or, while another call is under way, once that call and
// every call kept before it have ended. For what must never be lost: `enter`
// reads the page when it runs, so the same `enter` kept twice in a row runs once.
export function callOrKeep(enter) {
    if (!call(enter) && !failed && kept.at(-1) !== enter) {
        kept.push(enter);
    }
}
