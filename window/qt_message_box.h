// The game's messages as modal Qt message boxes.
#pragma once

#include <QWidget>

#include "messages.h"

namespace window {

class QtMessageBox final : public game::MessageBox {
public:
    // Boxes open over `owner`, which must outlive this object.
    explicit QtMessageBox(QWidget& owner) : owner_(owner) {}

    // The catalogue's title and text, one OK button, no icon, modal to the
    // application; returns once the box is closed by OK, Enter, Esc or the
    // title bar's close button alike.
    void show(game::MessageId id) override;

private:
    QWidget& owner_;
};

}  // namespace window
