// Shows each Board cell in the page's element of the same name, and carries
// the player's edits of Text1 into the Board.
#pragma once

#include <emscripten/val.h>

#include <string>

#include "board.h"

namespace web {

class CellBinding {
public:
    // `board` must outlive the binding. Shows every cell at once and then every
    // later write as it happens, so a write is on the page when the handler
    // ends or opens a message box.
    CellBinding(game::Board& board, emscripten::val page);
    ~CellBinding();

    CellBinding(const CellBinding&) = delete;
    CellBinding& operator=(const CellBinding&) = delete;

    // The text the guess box shows after the player's edit, typed, pasted or
    // put in by an assistive tool.
    void text1Edited(const std::u16string& shown);

private:
    void show(game::Cell cell);

    game::Board& board_;
    emscripten::val page_;
};

}  // namespace web
