// Scales the board as a whole to the largest size that fits the visible part
// of the window, from a 320-pixel phone to a large desktop screen, and again
// whenever that part changes: a resize, a turned phone, the on-screen
// keyboard. The layout inside the board stays as the game's table has it;
// fit.css zooms the board by the scale set here.
//
// A classic script in the head, after the style sheets: it runs before the
// body is parsed, so the board is scaled as soon as it is on the page, before
// its first paint, and nothing on the page shifts.
"use strict";

(() => {
    // CSS pixels kept free around the board, so that it never touches an edge.
    const MARGIN = 8;

    let scale = 1;

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
        const [visibleWidth, visibleHeight] = visibleSize();
        scale = Math.max(0.1, Math.min((visibleWidth - 2 * MARGIN) / width,
                                       (visibleHeight - 2 * MARGIN) / height));
        document.documentElement.style.setProperty("--board-scale", String(scale));
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

    window.addEventListener("resize", refit);
    window.visualViewport?.addEventListener("resize", refit);

    // The board is scaled as soon as it is on the page, whether the parser or a
    // script puts it there: the observer's call comes before the next paint.
    const watch = new MutationObserver(() => {
        if (document.getElementById("Form1")) {
            watch.disconnect();
            fit();
        }
    });
    watch.observe(document.documentElement, { childList: true, subtree: true });
})();
