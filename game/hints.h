// Showing the secret, whole or a digit at a time, and erasing the attempts.
#pragma once

#include "board.h"

namespace game {

// "מה המספר": ends the game by disabling checking and uncovering the secret.
void Command2_Click(Board& board);

// The codes panel's single-digit buttons: each uncovers one secret digit
// (Command4 the first ... Command7 the fourth) and the game goes on.
void Command4_Click(Board& board);
void Command5_Click(Board& board);
void Command6_Click(Board& board);
void Command7_Click(Board& board);

// Sets every bulls count, then every hits count, to "0" and empties every
// guess, row 1 first in each column.
void emptyAttemptRows(Board& board);

// Empties every attempt row; the secret, its visibility and Command1 stay.
void Command8_Click(Board& board);

}  // namespace game
