// The board's faces as web fonts from this folder: a board drawn in whatever
// font the visitor's system has would not fit its cells. Every preloaded font
// file becomes one face of its weight (data-weight). Without the font's line
// gap a line is as tall as its ascent and descent, as the desktop draws a
// label, so autosized labels get the same height and every caption the same
// baseline.

// Resolves once every face has loaded or failed: a font that cannot load
// leaves the board in the fallback font, not blank.
export function loadBoardFonts(family) {
    const files = document.querySelectorAll("link[rel=preload][as=font]");
    const faces = [...files].map((link) => {
        const face = new FontFace(family, `url(${link.href})`,
                                  { weight: link.dataset.weight, lineGapOverride: "0%" });
        document.fonts.add(face);
        return face.load();
    });
    return Promise.allSettled(faces);
}
