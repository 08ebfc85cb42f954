// Validation, placement and scoring of a guess. Every comparison is of exact
// UTF-16 code units: no case folding, no trimming, no locale.
#include "guess_check.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "outcome.h"

namespace game {

namespace {

// Character `position` (from 1) of `text`, or the empty text past its end.
std::u16string_view characterAt(std::u16string_view text, int position) {
    const auto index = static_cast<std::size_t>(position - 1);
    return index < text.size() ? text.substr(index, 1) : std::u16string_view{};
}

bool hasRepeatedCharacter(std::u16string_view guess) {
    constexpr std::array<std::pair<int, int>, 6> kPairs = {
        {{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}};
    // The iterator form: the browser build's standard library has no ranges algorithms.
    return std::any_of(kPairs.begin(), kPairs.end(), [guess](const std::pair<int, int>& pair) {
        return characterAt(guess, pair.first) == characterAt(guess, pair.second);
    });
}

// The guess goes into the first empty row; with all eight used it is dropped.
void placeGuess(Board& board, std::u16string_view guess) {
    for (int row = 1; row <= kRowCount; ++row) {
        if (board.text(guessCell(row)).empty()) {
            board.setText(guessCell(row), guess);
            return;
        }
    }
}

// Does character `guessPosition` of the row's guess equal secret digit `secretPosition`?
bool matches(const Board& board, int row, int guessPosition, int secretPosition) {
    return characterAt(board.text(guessCell(row)), guessPosition) ==
           std::u16string_view(board.text(secretCell(secretPosition)));
}

// The shortest decimal text of a count: "0", "1", ...
std::u16string countText(std::int16_t count) {
    const std::string digits = std::to_string(count);
    return {digits.begin(), digits.end()};
}

void scoreBulls(Board& board) {
    for (int row = 1; row <= kRowCount; ++row) {
        std::int16_t bulls = 0;
        for (int position = 1; position <= kSecretLength; ++position) {
            if (matches(board, row, position, position)) {
                ++bulls;
            }
        }
        board.setText(bullsCell(row), countText(bulls));
    }
}

// Every ordered pair of different positions (guess, secret), in the order
// they are compared. A guess character that already matched still counts
// again against another secret digit.
constexpr std::array<std::pair<int, int>, 12> kHitPairs = {{
    {1, 2}, {1, 3}, {1, 4},
    {2, 1}, {2, 3}, {2, 4},
    {3, 1}, {3, 2}, {3, 4},
    {4, 1}, {4, 2}, {4, 3},
}};

void scoreHits(Board& board) {
    for (int row = 1; row <= kRowCount; ++row) {
        std::int16_t hits = 0;
        for (const auto& [guessPosition, secretPosition] : kHitPairs) {
            if (matches(board, row, guessPosition, secretPosition)) {
                ++hits;
            }
        }
        board.setText(hitsCell(row), countText(hits));
    }
}

}  // namespace

void Command1_Click(Board& board, MessageBox& messages) {
    const std::u16string guess = board.text(Cell::Text1);
    if (guess.size() != kText1MaxLength) {
        messages.show(MessageId::NeedFourDigits);
    } else if (hasRepeatedCharacter(guess)) {
        messages.show(MessageId::RepeatedDigit);
    } else {
        placeGuess(board, guess);
        scoreBulls(board);
        scoreHits(board);
        settleOutcome(board, messages);
    }
    board.setText(Cell::Text1, u"");
}

}  // namespace game
