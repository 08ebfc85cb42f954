// Scales the board as a whole to the largest size that fits the visible part
// of the window, from a 320-pixel phone to a large desktop screen, and again
// whenever that part changes: a resize, a turned phone, the on-screen
// keyboard. Only for a browser whose style sheets cannot divide lengths:
// elsewhere fit.css does it alone. The layout inside the board stays as the
// game's table has it; fit.css zooms the board by the scale set here.

let scale = 1;

// The on-screen keyboard shrinks the layout, so that fit.css keeps the board
// above it. Only a browser with the keyboard's API knows the viewport's key;
// another would report it as unknown.
if ("virtualKeyboard" in navigator) {
    const viewport = document.querySelector("meta[name=viewport]");
    viewport.content += ", interactive-widget=resizes-content";
}

// The visible size at the page's own zoom: a pinch does not shrink the board.
function visibleSize() {
    const viewport = window.visualViewport;
    return viewport
        ? [viewport.width * viewport.scale, viewport.height * viewport.scale]
        : [document.documentElement.clientWidth, window.innerHeight];
}

function fit() {
    const board = document.getElementById("Form1");
    if (!board) {
        return;
    }
    const drawn = board.getBoundingClientRect();
    const [width, height] = [drawn.width / scale, drawn.height / scale];
    if (width === 0 || height === 0) {
        return;
    }
    const root = document.documentElement;
    const margin = parseFloat(getComputedStyle(root).getPropertyValue("--board-margin")) || 0;
    const [visibleWidth, visibleHeight] = visibleSize();
    scale = Math.max(0.1, Math.min((visibleWidth - 2 * margin) / width,
                                   (visibleHeight - 2 * margin) / height));
    root.style.setProperty("--board-scale", String(scale));
}

// At most once a frame, however many events a resize brings.
let pending = false;
function refit() {
    if (!pending) {
        pending = true;
        requestAnimationFrame(() => {
            pending = false;
            fit();
        });
    }
}

if (!CSS.supports("zoom", "calc(1px / 1px)")) {
    window.addEventListener("resize", refit);
    window.visualViewport?.addEventListener("resize", refit);
    if (document.getElementById("Form1")) {
        fit();
    } else {
        // The board may be put on the page by a script; the observer's call
        // comes before the next paint.
        const watch = new MutationObserver(() => {
            if (document.getElementById("Form1")) {
                watch.disconnect();
                fit();
            }
        });
        watch.observe(document.body, { childList: true, subtree: true });
    }
}
