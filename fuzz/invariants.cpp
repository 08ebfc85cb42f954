// The invariants of the board, each checked from the cells alone.
#include "invariants.h"

#include <string_view>

#include "check.h"

namespace fuzz {

using game::Cell;

Snapshot::Snapshot(const game::Board& board) {
    for (std::size_t i = 0; i < game::kCellCount; ++i) {
        const auto cell = static_cast<Cell>(i);
        cells[i] = {board.text(cell), board.visible(cell), board.enabled(cell)};
    }
}

Score scoreAgainstSecret(const game::Board& board, const std::u16string& guess) {
    Score score{0, 0};
    for (int i = 1; i <= game::kSecretLength; ++i) {
        if (static_cast<std::size_t>(i) > guess.size()) {
            break;
        }
        for (int j = 1; j <= game::kSecretLength; ++j) {
            const std::u16string& digit = board.text(game::secretCell(j));
            if (digit.size() == 1 && guess[static_cast<std::size_t>(i - 1)] == digit[0]) {
                ++(i == j ? score.bulls : score.hits);
            }
        }
    }
    return score;
}

int usedRows(const game::Board& board) {
    int used = 0;
    for (int row = 1; row <= game::kRowCount; ++row) {
        used += board.text(game::guessCell(row)).empty() ? 0 : 1;
    }
    return used;
}

bool someRowWon(const game::Board& board) {
    for (int row = 1; row <= game::kRowCount; ++row) {
        if (board.text(game::bullsCell(row)) == u"4") {
            return true;
        }
    }
    return false;
}

namespace {

bool allDifferent(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        for (std::size_t j = i + 1; j < text.size(); ++j) {
            if (text[i] == text[j]) {
                return false;
            }
        }
    }
    return true;
}

// "0".."4", nothing else.
int countOf(std::u16string_view text) {
    FUZZ_CHECK(text.size() == 1 && text[0] >= u'0' && text[0] <= u'4',
               "a count is one of \"0\"..\"4\"");
    return text[0] - u'0';
}

void checkSecret(const game::Board& board) {
    std::u16string digits;
    for (int position = 1; position <= game::kSecretLength; ++position) {
        const std::u16string& digit = board.text(game::secretCell(position));
        FUZZ_CHECK(digit.size() == 1 && digit[0] >= u'0' && digit[0] <= u'9',
                   "each secret digit is one character 0..9");
        digits += digit;
    }
    FUZZ_CHECK(allDifferent(digits), "the four secret digits differ");
}

void checkRows(const game::Board& board) {
    bool emptySeen = false;
    int wins = 0;
    for (int row = 1; row <= game::kRowCount; ++row) {
        const std::u16string& guess = board.text(game::guessCell(row));
        FUZZ_CHECK(guess.empty() || !emptySeen, "guesses fill the rows from row 1 without gaps");
        emptySeen = emptySeen || guess.empty();
        FUZZ_CHECK(guess.empty() || (guess.size() == 4 && allDifferent(guess)),
                   "a placed guess is four different code units");

        const int bulls = countOf(board.text(game::bullsCell(row)));
        const int hits = countOf(board.text(game::hitsCell(row)));
        FUZZ_CHECK(bulls + hits <= 4, "bulls + hits <= 4 for a guess of different characters");
        // The secret changes only with a new game, which empties every row, so
        // the counts always belong to the current secret.
        const Score expected = scoreAgainstSecret(board, guess);
        FUZZ_CHECK(bulls == expected.bulls && hits == expected.hits,
                   "the counts of a row are its guess scored against the secret");
        wins += bulls == 4 ? 1 : 0;
    }
    FUZZ_CHECK(wins <= 1, "at most one row holds four bulls");
}

}  // namespace

void checkBoard(const game::Board& board) {
    FUZZ_CHECK(board.text(Cell::Text1).size() <= game::kText1MaxLength,
               "Text1 holds at most 4 code units");
    checkSecret(board);
    checkRows(board);
    FUZZ_CHECK(board.visible(Cell::Command1), "Command1 is never hidden");
    if (!board.enabled(Cell::Command1)) {
        for (int position = 1; position <= game::kSecretLength; ++position) {
            FUZZ_CHECK(board.visible(game::secretCell(position)),
                       "while Command1 is disabled the whole secret is shown");
        }
    } else {
        FUZZ_CHECK(!someRowWon(board), "a win always ends the game");
        FUZZ_CHECK(board.text(Cell::lbltry8).empty(), "filling row 8 always ends the game");
    }
}

}  // namespace fuzz
