// Hint and reset commands: they only write cells and show nothing.
#include "hints.h"

#include "outcome.h"

namespace game {

void Command2_Click(Board& board) { endGame(board); }

void Command4_Click(Board& board) { board.setVisible(Cell::lbl1, true); }
void Command5_Click(Board& board) { board.setVisible(Cell::lbl2, true); }
void Command6_Click(Board& board) { board.setVisible(Cell::lbl3, true); }
void Command7_Click(Board& board) { board.setVisible(Cell::lbl4, true); }

void emptyAttemptRows(Board& board) {
    for (int row = 1; row <= kRowCount; ++row) {
        board.setText(bullsCell(row), u"0");
    }
    for (int row = 1; row <= kRowCount; ++row) {
        board.setText(hitsCell(row), u"0");
    }
    for (int row = 1; row <= kRowCount; ++row) {
        board.setText(guessCell(row), u"");
    }
}

void Command8_Click(Board& board) { emptyAttemptRows(board); }

}  // namespace game
