// Form1 as static markup and its stylesheet, made from the shared tables when
// the page is built: the board is painted before the module has loaded, and
// the module then binds to elements that are already there.
#pragma once

#include <string>

namespace web {

// The page's body content: a hidden level-one heading with the game's name,
// Form1 with its controls in reading order (the board as a table: its
// headings, eight rows of guess, hits and bulls, then the secret; the
// controls beside it in the window's tab order), and the one live region.
std::string boardMarkup();

// Where each control lies, its size, stacking, colour and font: rules for
// an external stylesheet, since the page's policy allows no inline style.
std::string boardStyle();

}  // namespace web
