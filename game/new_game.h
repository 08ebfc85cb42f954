// Starting games: the first one when the window loads, a new one on "חדש".
#pragma once

#include "board.h"
#include "random_source.h"

namespace game {

// Draws the first secret; every other cell keeps its initial state.
void Form1_Load(Board& board, RandomSource& random);

// Closes codes mode, re-enables checking, empties every row and the guess
// box, and hides a freshly drawn secret.
void Command3_Click(Board& board, RandomSource& random);

}  // namespace game
