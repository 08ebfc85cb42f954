// Every notice of the game is one of these boxes.
#include "qt_message_box.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "qt_strings.h"

namespace window {

void QtMessageBox::show(game::MessageId id) {
    const game::Message& message = game::message(id);
    QMessageBox box(QMessageBox::NoIcon, toQString(message.title), toQString(message.text),
                    QMessageBox::Ok, &owner_);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    // Some styles put a check mark on OK; a box of this game shows no icon at all.
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
        ok->setIcon(QIcon());
    }
    box.exec();
}

}  // namespace window
