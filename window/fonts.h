// The two fonts of the board.
#pragma once

#include <QFont>

#include "layout.h"

namespace window {

// The family the board asks for; where it is missing, "David CLM" stands in
// (see configureApplication).
inline constexpr const char* kBoardFamily = "David";
inline constexpr const char* kBoardFamilySubstitute = "David CLM";

// Font A: 21.75 pt, weight 350; font B: 12 pt, weight 700 (bold).
// Font::Default yields `dialogFont` unchanged.
QFont boardFont(Font font, const QFont& dialogFont);

}  // namespace window
