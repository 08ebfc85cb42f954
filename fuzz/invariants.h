// What must hold on the board after every action of the player, whatever the
// action was.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "board.h"

namespace fuzz {

// Every cell's text and flags, to tell whether an action changed anything.
struct Snapshot {
    struct Values {
        std::u16string text;
        bool visible;
        bool enabled;
        bool operator==(const Values&) const = default;
    };
    std::array<Values, game::kCellCount> cells;
    bool operator==(const Snapshot&) const = default;

    explicit Snapshot(const game::Board& board);
    const std::u16string& text(game::Cell cell) const {
        return cells[static_cast<std::size_t>(cell)].text;
    }
};

// The bulls and hits of `guess` against the board's secret, counted afresh
// from their definitions (a different way from the game's own).
struct Score {
    int bulls;
    int hits;
};
Score scoreAgainstSecret(const game::Board& board, const std::u16string& guess);

// The number of rows whose guess is not empty.
int usedRows(const game::Board& board);

// Whether some row holds four bulls.
bool someRowWon(const game::Board& board);

// Traps unless every invariant of the board holds.
void checkBoard(const game::Board& board);

}  // namespace fuzz
