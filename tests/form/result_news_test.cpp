// What a screen reader is told after an event: only what the board newly
// shows, in the accessible names' words.
#include <gtest/gtest.h>

#include "board.h"
#include "result_news.h"

namespace form {
namespace {

using game::Board;
using game::Cell;

void fillRow(Board& board, int row, std::u16string_view guess, std::u16string_view bulls,
             std::u16string_view hits) {
    board.setText(game::guessCell(row), guess);
    board.setText(game::bullsCell(row), bulls);
    board.setText(game::hitsCell(row), hits);
}

Board boardWithSecret(std::u16string_view digits) {
    Board board;
    for (int position = 1; position <= game::kSecretLength; ++position) {
        board.setText(game::secretCell(position), digits.substr(position - 1, 1));
    }
    return board;
}

TEST(ResultNews, AnAcceptedGuessIsItsRowWithBothCounts) {
    Board board = boardWithSecret(u"5038");
    fillRow(board, 1, u"1234", u"0", u"1");
    const ResultNews news(board);
    fillRow(board, 2, u"1029", u"1", u"2");
    EXPECT_EQ(news.since(board), u"ניסיון 2: 1029, בול 1, פגיעה 2");
}

TEST(ResultNews, NothingNewIsNothingToSay) {
    Board board = boardWithSecret(u"5038");
    fillRow(board, 1, u"1234", u"0", u"1");
    const ResultNews news(board);
    // A refused guess changes no row; the guess box is no result.
    board.setText(Cell::Text1, u"");
    EXPECT_EQ(news.since(board), u"");
    // A new game empties the rows and hides the secret: nothing appears.
    fillRow(board, 1, u"", u"0", u"0");
    EXPECT_EQ(news.since(board), u"");
}

TEST(ResultNews, AWinTellsTheRowThenTheWholeSecret) {
    Board board = boardWithSecret(u"5038");
    board.setVisible(Cell::lbl2, true);  // uncovered before by a hint: not a reason to stay quiet
    const ResultNews news(board);
    fillRow(board, 1, u"5038", u"4", u"0");
    for (int position = 1; position <= game::kSecretLength; ++position) {
        board.setVisible(game::secretCell(position), true);
    }
    EXPECT_EQ(news.since(board), u"ניסיון 1: 5038, בול 4, פגיעה 0. תיבת המספר הסודי: 5038");
    // Asked again after everything is shown ("מה המספר" twice): nothing new.
    EXPECT_EQ(ResultNews(board).since(board), u"");
}

TEST(ResultNews, AHintTellsItsOneDigit) {
    Board board = boardWithSecret(u"5038");
    const ResultNews news(board);
    board.setVisible(Cell::lbl2, true);
    EXPECT_EQ(news.since(board), u"ספרה 2: 0");
}

TEST(ResultNews, TheGuessIsSpokenAsTypedEvenOddCharacters) {
    Board board = boardWithSecret(u"5038");
    const ResultNews news(board);
    // A right-to-left mark and a surrogate pair, as the board keeps them.
    const std::u16string typed = u"\u200F1\U0001F600";
    fillRow(board, 1, typed, u"0", u"0");
    EXPECT_EQ(news.since(board), u"ניסיון 1: " + typed + u", בול 0, פגיעה 0");
}

}  // namespace
}  // namespace form
