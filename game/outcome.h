// Deciding whether the last accepted guess won or lost the game.
#pragma once

#include <string_view>

#include "board.h"
#include "messages.h"

namespace game {

// The number a bulls cell holds: its decimal value, or NaN for any text that
// is not a plain decimal number (the board never holds one there).
double countValue(std::u16string_view text);

// Ends the game: Command1 disabled, then lbl1..lbl4 uncovered in order.
void endGame(Board& board);

// Tests every row for four bulls, rating each win, then tests for a loss
// (row 8 used, no win). After each message is dismissed the game ends:
// Command1 disabled, then lbl1..lbl4 uncovered.
void settleOutcome(Board& board, MessageBox& messages);

}  // namespace game
