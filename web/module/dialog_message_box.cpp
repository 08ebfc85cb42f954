// The box is the page's; the waiting for it is here, so that the rules see a
// call that returns only once the box is gone, as on the desktop.
#include "dialog_message_box.h"

#include <string>

namespace web {

void DialogMessageBox::show(game::MessageId id) {
    const game::Message& message = game::message(id);
    page_.call<emscripten::val>("showMessageBox", std::u16string(message.title),
                                std::u16string(message.text))
        .await();
}

}  // namespace web
