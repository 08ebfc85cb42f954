// Fonts A and B as stored: name, size in points, weight.
#include "fonts.h"

#include "stored_fonts.h"
#include "qt_strings.h"

namespace window {

namespace {

QFont make(const form::StoredFont& stored) {
    QFont font(toQString(form::kBoardFamily));
    font.setPointSizeF(stored.points);
    font.setWeight(static_cast<QFont::Weight>(stored.weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace

QFont dialogFont(const QFont& platformFont) {
    QFont font = platformFont;
    font.setPointSizeF(form::kDialogPoints);
    return font;
}

QFont boardFont(form::Font font, const QFont& dialogFont) {
    const form::StoredFont* stored = form::storedFont(font);
    return stored != nullptr ? make(*stored) : dialogFont;
}

}  // namespace window
