// Scales the board as a whole to the largest size that fits the visible part
// of the window, from a 320-pixel phone to a large desktop screen, and again
// whenever that part or the screen's pixel density changes: a resize, a
// turned phone, the on-screen keyboard, the browser's zoom, another screen.
// The layout inside the board stays as the game's table has it; fit.css
// zooms the board by the scale set here, and page.css rounds each control's
// edges to the device pixel set here, in the board's own pixels.

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
    const root = document.documentElement;
    const style = getComputedStyle(root);
    const [width, height] = style.getPropertyValue("--board-size").trim().split(" ").map(Number);
    const margin = parseFloat(style.getPropertyValue("--board-margin")) || 0;
    const [visibleWidth, visibleHeight] = visibleSize();
    const scale = Math.max(0.1, Math.min((visibleWidth - 2 * margin) / width,
                                         (visibleHeight - 2 * margin) / height));
    root.style.setProperty("--board-scale", String(scale));
    root.style.setProperty("--device-pixel", `${1 / (scale * devicePixelRatio)}px`);
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

// A new density (the browser's zoom, another screen) may come without a resize.
function watchDensity() {
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener("change", () => {
        refit();
        watchDensity();
    }, { once: true });
}

window.addEventListener("resize", refit);
window.visualViewport?.addEventListener("resize", refit);
watchDensity();
fit();
