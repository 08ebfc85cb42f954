// Drawing the secret: four different digits written into lbl1..lbl4.
#pragma once

#include <cstdint>

#include "board.h"
#include "random_source.h"

namespace game {

// A pseudo-random integer in [LowerBound, UpperBound], from one value of
// `random`. Requires LowerBound <= UpperBound.
std::int32_t GetRandomInteger(RandomSource& random, std::int32_t LowerBound,
                              std::int32_t UpperBound);

// Reseeds `random` and writes a secret of four different digits into
// lbl1..lbl4. A digit already taken is drawn again whole.
void drawSecret(Board& board, RandomSource& random);

}  // namespace game
