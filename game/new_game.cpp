// Starting games.
#include "new_game.h"

#include "hints.h"
#include "secret.h"

namespace game {

void Form1_Load(Board& board, RandomSource& random) { drawSecret(board, random); }

void Command3_Click(Board& board, RandomSource& random) {
    board.setVisible(Cell::Frame1, false);
    board.setEnabled(Cell::Command1, true);
    emptyAttemptRows(board);
    drawSecret(board, random);
    board.setText(Cell::Text1, u"");
    for (int position = 1; position <= kSecretLength; ++position) {
        board.setVisible(secretCell(position), false);
    }
}

}  // namespace game
