// Shows each Board cell in the control of the same name, and carries the
// player's typing in Text1 into the Board.
#pragma once

#include <QWidget>
#include <array>

#include "board.h"

namespace window {

class CellBinding {
public:
    // `board` and the controls inside `form` must outlive the binding. Shows
    // every cell at once and then every later write as it happens, so a write
    // is on screen when the handler ends or opens a message box.
    CellBinding(game::Board& board, QWidget& form);
    ~CellBinding();

    CellBinding(const CellBinding&) = delete;
    CellBinding& operator=(const CellBinding&) = delete;

private:
    void show(game::Cell cell);

    game::Board& board_;
    std::array<QWidget*, game::kCellCount> controls_{};
};

}  // namespace window
