// Board to controls through the Board's observer; Text1 to Board on every change.
#include "cell_binding.h"

#include <QGroupBox>
#include <QLineEdit>

#include "caption_button.h"
#include "caption_label.h"
#include "qt_strings.h"

namespace window {

namespace {

QString toQString(const std::u16string& text) { return QString::fromStdU16String(text); }

void showText(QWidget& control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        // Rewriting an equal text would move the player's cursor.
        if (edit->text() != text) {
            edit->setText(text);
        }
    } else if (auto* label = qobject_cast<CaptionLabel*>(&control)) {
        label->setCaption(text);
    } else if (auto* button = qobject_cast<CaptionButton*>(&control)) {
        button->setText(text);
    } else if (auto* frame = qobject_cast<QGroupBox*>(&control)) {
        frame->setTitle(text);
    }
}

// QLineEdit's own length limit cuts a paste by code units and may keep the
// first half of a surrogate pair: that half is no character the player typed.
QString withoutCutPair(QString edited) {
    if (!edited.isEmpty() && edited.back().isHighSurrogate()) {
        edited.chop(1);
    }
    return edited;
}

}  // namespace

CellBinding::CellBinding(game::Board& board, QWidget& form) : board_(board) {
    for (std::size_t i = 0; i < game::kCellCount; ++i) {
        const auto cell = static_cast<game::Cell>(i);
        const std::string_view name = game::cellName(cell);
        controls_[i] = form.findChild<QWidget*>(toQString(name));
        Q_ASSERT_X(controls_[i] != nullptr, "CellBinding", "a cell without its control");
        show(cell);
    }

    auto* text1 = static_cast<QLineEdit*>(controls_[static_cast<std::size_t>(game::Cell::Text1)]);
    // textChanged, not textEdited: text put in by an assistive tool through
    // the accessibility interface must reach the Board as typing does. The
    // Board's own writes come back through the observer equal to the cell and
    // are not entered again. When the Board cuts the text, the observer puts
    // the cut text back into the box.
    QObject::connect(text1, &QLineEdit::textChanged, text1, [this](const QString& shown) {
        const std::u16string text = withoutCutPair(shown).toStdU16String();
        if (text != board_.text(game::Cell::Text1)) {
            board_.enterText1(text);
        }
    });

    board_.setObserver([this](game::Cell cell) { show(cell); });
}

CellBinding::~CellBinding() { board_.setObserver(nullptr); }

void CellBinding::show(game::Cell cell) {
    QWidget& control = *controls_[static_cast<std::size_t>(cell)];
    showText(control, toQString(board_.text(cell)));
    control.setVisible(board_.visible(cell));
    control.setEnabled(board_.enabled(cell));
}

}  // namespace window
