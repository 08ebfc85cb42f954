// Fonts A and B as the window stores them, and the size of the dialog font:
// what every front end asks its toolkit for.
#pragma once

#include <string_view>

#include "layout.h"

namespace form {

// The family the board asks for; where it is missing, "David CLM" of the
// Culmus fonts stands in.
inline constexpr std::string_view kBoardFamily = "David";
inline constexpr std::string_view kBoardFamilySubstitute = "David CLM";

struct StoredFont {
    double points;
    int weight;  // 100..900, the CSS and Qt scale
};

// Font A: the board's cells and headings; font B: the credit label.
// Font A's 350 lies between light and normal: the font matcher takes the
// nearest weight the family has, which for David and David CLM is the
// regular one.
inline constexpr StoredFont kFontA{21.75, 350};
inline constexpr StoredFont kFontB{12.0, 700};

// Buttons and the codes panel: the platform's own family at the 8 points
// dialogs are drawn in, so that the captions fit their buttons.
inline constexpr double kDialogPoints = 8.0;

// The stored font of `font`; none for Font::Default, the dialog font.
constexpr const StoredFont* storedFont(Font font) {
    switch (font) {
        case Font::A: return &kFontA;
        case Font::B: return &kFontB;
        case Font::Default: break;
    }
    return nullptr;
}

}  // namespace form
