// A push button whose caption is centred and wraps at word boundaries when it
// does not fit on one line, as the board's buttons are laid out.
#pragma once

#include <QPushButton>

namespace window {

class CaptionButton : public QPushButton {
    Q_OBJECT

public:
    // Never a default button: Enter and Esc click nothing in this window.
    CaptionButton(const QString& caption, QWidget* parent);

protected:
    // Draws the style's button with an empty label, then the caption wrapped
    // into the label area; text() stays the caption for accessibility.
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace window
