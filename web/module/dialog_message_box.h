// Every notice of the game in the page: a modal <dialog> the handler awaits.
#pragma once

#include <emscripten/val.h>

#include "messages.h"

namespace web {

class DialogMessageBox : public game::MessageBox {
public:
    // `page` is the page's side of the module (see page.js), which opens the box.
    explicit DialogMessageBox(emscripten::val page) : page_(std::move(page)) {}

    // Opens the box with the message's title and text and suspends the calling
    // handler (Asyncify) until the player has dismissed it, however that was.
    void show(game::MessageId id) override;

private:
    emscripten::val page_;
};

}  // namespace web
