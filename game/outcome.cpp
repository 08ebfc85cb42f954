// Win and loss tests and the end of a game.
#include "outcome.h"

#include <array>
#include <limits>

namespace game {

double countValue(std::u16string_view text) {
    if (text.empty()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    double value = 0;
    for (const char16_t unit : text) {
        if (unit < u'0' || unit > u'9') {
            return std::numeric_limits<double>::quiet_NaN();
        }
        value = value * 10 + (unit - u'0');
    }
    return value;
}

namespace {

bool rowHasFourBulls(const Board& board, int row) {
    return countValue(board.text(bullsCell(row))) == 4;
}

}  // namespace

void endGame(Board& board) {
    board.setEnabled(Cell::Command1, false);
    for (int position = 1; position <= kSecretLength; ++position) {
        board.setVisible(secretCell(position), true);
    }
}

void settleOutcome(Board& board, MessageBox& messages) {
    // A win does not stop the tests: every row is looked at.
    for (int row = 1; row <= kRowCount; ++row) {
        if (rowHasFourBulls(board, row)) {
            messages.show(winMessage(row));
            endGame(board);
        }
    }

    // Every cell of the loss test is read before it is decided.
    bool noRowWon = true;
    for (int row = 1; row <= kRowCount; ++row) {
        noRowWon = !rowHasFourBulls(board, row) && noRowWon;
    }
    const bool lastRowUsed = !board.text(Cell::lbltry8).empty();
    if (lastRowUsed && noRowWon) {
        messages.show(MessageId::Lost);
        endGame(board);
    }
}

}  // namespace game
