// Fonts A and B as stored: name, size in points, weight.
#include "fonts.h"

namespace window {

namespace {

struct StoredFont {
    double points;
    int weight;  // 100..900; Qt's scale is the same as the stored one
};

constexpr StoredFont kFontA{21.75, 350};
constexpr StoredFont kFontB{12.0, 700};
constexpr double kDialogPoints = 8.0;

QFont make(const StoredFont& stored) {
    QFont font(QString::fromLatin1(kBoardFamily));
    font.setPointSizeF(stored.points);
    // 350 lies between light and normal; the font matcher takes the nearest
    // weight the family has, which for David and David CLM is the regular one.
    font.setWeight(static_cast<QFont::Weight>(stored.weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace

QFont dialogFont(const QFont& platformFont) {
    QFont font = platformFont;
    font.setPointSizeF(kDialogPoints);
    return font;
}

QFont boardFont(Font font, const QFont& dialogFont) {
    switch (font) {
        case Font::A: return make(kFontA);
        case Font::B: return make(kFontB);
        case Font::Default: break;
    }
    return dialogFont;
}

}  // namespace window
