// The secret draw and the integer it is built from.
#include "secret.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace game {

std::int32_t GetRandomInteger(RandomSource& random, std::int32_t LowerBound,
                              std::int32_t UpperBound) {
    const float r = random.next();
    const std::int64_t span = std::int64_t{UpperBound} - LowerBound + 1;
    const float x = static_cast<float>(span) * r + static_cast<float>(LowerBound);
    // Single precision may round x up to UpperBound + 1 (or beyond, for bounds
    // that floats cannot hold exactly) when r is just below 1: keep the promise
    // of the bounds.
    const double floored = std::floor(static_cast<double>(x));
    if (std::isnan(floored)) {
        return LowerBound;
    }
    return static_cast<std::int32_t>(
        std::clamp(floored, static_cast<double>(LowerBound), static_cast<double>(UpperBound)));
}

namespace {

std::int16_t drawDigit(RandomSource& random) {
    return static_cast<std::int16_t>(GetRandomInteger(random, 0, 9));
}

std::u16string digitText(std::int16_t digit) {
    // One code unit: braces around a single char16_t build a one-unit string.
    return {static_cast<char16_t>(u'0' + digit)};
}

}  // namespace

void drawSecret(Board& board, RandomSource& random) {
    random.reseed();
    const std::int16_t d1 = drawDigit(random);
    std::int16_t d2 = drawDigit(random);
    while (d2 == d1) {
        d2 = drawDigit(random);
    }
    std::int16_t d3 = drawDigit(random);
    while (d3 == d1 || d3 == d2) {
        d3 = drawDigit(random);
    }
    std::int16_t d4 = drawDigit(random);
    while (d4 == d1 || d4 == d2 || d4 == d3) {
        d4 = drawDigit(random);
    }
    board.setText(Cell::lbl1, digitText(d1));
    board.setText(Cell::lbl2, digitText(d2));
    board.setText(Cell::lbl3, digitText(d3));
    board.setText(Cell::lbl4, digitText(d4));
}

}  // namespace game
