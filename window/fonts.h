// The two fonts of the board, and the dialog font, as Qt fonts.
#pragma once

#include <QFont>

#include "layout.h"

namespace window {

// The font of the buttons and the codes panel: the platform's own family at
// the stored dialog size.
QFont dialogFont(const QFont& platformFont);

// Font A: 21.75 pt, weight 350; font B: 12 pt, weight 700 (bold).
// Font::Default yields `dialogFont` unchanged.
QFont boardFont(form::Font font, const QFont& dialogFont);

}  // namespace window
