// Form1 as static markup and its stylesheet, made from the shared tables when
// the page is built: the board is painted before the module has loaded, and
// the module then binds to elements that are already there.
#pragma once

#include <string>

#include "layout.h"

namespace web {

// The page's body content: a hidden level-one heading with the game's name,
// Form1 with its controls in reading order (the board as a table: its
// headings, eight rows of guess, hits and bulls, then the secret; the
// controls beside it in the window's tab order), and the one live region.
std::string boardMarkup();

// Where each control lies, its size, stacking, colour and font: rules for
// an external stylesheet, since the page's policy allows no inline style.
std::string boardStyle();

// The board's client area in pixels, "WIDTH HEIGHT": the build scales the
// page by it and cuts the sky's picture to its height.
std::string boardSize();

// Every character the captions drawn in `font` use, once each, in UTF-8:
// what a face that draws nothing else must keep when it is cut down.
std::string captionCharacters(form::Font font);

}  // namespace web
