// What a screen reader must be told after an event, read off the board: the
// result of each guess that went into a row, and the secret once it shows.
// Both front ends speak these sentences; no front end builds its own.
#pragma once

#include <array>
#include <string>

#include "board.h"
#include "cell.h"

namespace form {

// "ניסיון 3: 1029, בול 1, פגיעה 2": row `row` (1..kRowCount) as the board
// shows it, the guess exactly as typed.
std::u16string rowSentence(const game::Board& board, int row);

// "תיבת המספר הסודי: 5038": the four secret digits, shown or not.
std::u16string secretSentence(const game::Board& board);

// Taken before an event; `since` then tells what that event showed.
class ResultNews {
public:
    explicit ResultNews(const game::Board& before);

    // The sentence of every row that got a guess since, row 1 first, then the
    // secret if it became visible: all of it once all four digits show, else
    // each digit that appeared ("ספרה 2: 7"). Sentences are joined by ". ";
    // empty when the event showed no result (a refused guess, a new game).
    std::u16string since(const game::Board& after) const;

private:
    std::array<bool, game::kRowCount> rowFilled_{};
    std::array<bool, game::kSecretLength> digitShown_{};
};

}  // namespace form
