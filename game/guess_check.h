// The player's move: checking the guess typed into Text1.
#pragma once

#include "board.h"
#include "messages.h"

namespace game {

// Refuses a guess that is not four different characters, or places it in the
// first empty row; then rescores every row, settles the outcome and empties
// Text1, always last.
void Command1_Click(Board& board, MessageBox& messages);

}  // namespace game
