// The page's Form1: the game with the browser's message box and random
// source, its board shown in the page's elements.
#pragma once

#include <emscripten/val.h>

#include <string>
#include <string_view>

#include "cell_binding.h"
#include "crypto_random_source.h"
#include "dialog_message_box.h"
#include "game.h"
#include "result_news.h"

namespace web {

class Form1 {
public:
    // `page` is the page's side of the module; its elements exist already.
    // Shows the board in its initial state and runs the Load.
    explicit Form1(const emscripten::val& page);

    // The Click of the button named `control`, if it is one and can be
    // clicked now; returns whether a handler ran. What it showed of a guess's
    // result or of the secret is then spoken through the page's live region.
    bool click(std::string_view control);
    void doubleClickLabel6();
    void text1Edited(const std::u16string& shown) { binding_.text1Edited(shown); }

private:
    // Hands the page the sentence of what the board showed since `news` was taken, if anything.
    void announce(const form::ResultNews& news);

    emscripten::val page_;
    DialogMessageBox messages_;
    CryptoRandomSource random_;
    game::Game game_;
    CellBinding binding_;
};

}  // namespace web
