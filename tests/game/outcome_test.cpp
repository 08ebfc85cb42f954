// Winning, losing, and the order in which a game ends.
#include "outcome.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace game {
namespace {

using testing::TestGame;

bool secretUncovered(const Board& board) {
    return board.visible(Cell::lbl1) && board.visible(Cell::lbl2) && board.visible(Cell::lbl3) &&
           board.visible(Cell::lbl4);
}

bool secretHidden(const Board& board) {
    return !board.visible(Cell::lbl1) && !board.visible(Cell::lbl2) && !board.visible(Cell::lbl3) &&
           !board.visible(Cell::lbl4);
}

class WinInRow : public ::testing::TestWithParam<int> {};

// Wrong guesses fill the rows above; the right one lands in the given row.
TEST_P(WinInRow, IsRatedByItsRowAndEndsTheGameAfterTheMessage) {
    const int winningRow = GetParam();
    TestGame play(u"1234");
    const std::u16string wrong[] = {u"5678", u"4321", u"1243", u"2135", u"9130", u"abcd", u"2143"};
    for (int row = 1; row < winningRow; ++row) {
        play.check(wrong[row - 1]);
        ASSERT_TRUE(play.messages.shown.empty()) << "a wrong guess in row " << row << " ends nothing";
        ASSERT_TRUE(play.board.enabled(Cell::Command1));
        ASSERT_TRUE(secretHidden(play.board));
    }
    play.board.enterText1(u"1234");
    play.game.click(Button::Command1);

    ASSERT_EQ(play.messages.shown, std::vector<MessageId>{winMessage(winningRow)})
        << "a win shows its rating and nothing else, not even Lost in row 8";
    const Board& whileShown = play.messages.boardsWhileShown.front();
    EXPECT_EQ(whileShown.text(bullsCell(winningRow)), u"4") << "the finished row is on the board";
    EXPECT_TRUE(whileShown.enabled(Cell::Command1)) << "checking is disabled only after dismissal";
    EXPECT_TRUE(secretHidden(whileShown)) << "the secret is uncovered only after dismissal";
    EXPECT_EQ(whileShown.text(Cell::Text1), u"1234") << "the guess box is emptied last";

    EXPECT_FALSE(play.board.enabled(Cell::Command1));
    EXPECT_TRUE(secretUncovered(play.board));
    EXPECT_EQ(play.board.text(Cell::Text1), u"");
}

INSTANTIATE_TEST_SUITE_P(Rows, WinInRow, ::testing::Range(1, 9));

TEST(Loss, AWrongEighthGuessShowsLostThenEndsTheGame) {
    TestGame play(u"1234");
    for (int row = 1; row <= 7; ++row) {
        play.check(u"5678");
    }
    EXPECT_TRUE(play.messages.shown.empty());
    play.check(u"4321");
    ASSERT_EQ(play.messages.shown, std::vector<MessageId>{MessageId::Lost});
    EXPECT_TRUE(play.messages.boardsWhileShown.front().enabled(Cell::Command1));
    EXPECT_EQ(play.messages.boardsWhileShown.front().text(Cell::lbltry8), u"4321");
    EXPECT_FALSE(play.board.enabled(Cell::Command1));
    EXPECT_TRUE(secretUncovered(play.board));
    EXPECT_FALSE(play.board.canBeClicked(Button::Command1));
    EXPECT_FALSE(play.game.click(Button::Command1)) << "no guess after the end of a game";
}

TEST(Outcome, UncoversTheSecretOneDigitAfterAnother) {
    TestGame play(u"1234");
    std::vector<Cell> order;
    play.board.setObserver([&](Cell cell) { order.push_back(cell); });
    endGame(play.board);
    EXPECT_EQ(order, (std::vector<Cell>{Cell::Command1, Cell::lbl1, Cell::lbl2, Cell::lbl3, Cell::lbl4}));
}

TEST(CountValue, ReadsOnlyPlainDecimalText) {
    EXPECT_EQ(countValue(u"4"), 4);
    EXPECT_EQ(countValue(u"04"), 4);
    EXPECT_EQ(countValue(u"0"), 0);
    for (const std::u16string text : {u"", u" 4", u"4 ", u"+4", u"4.0", u"four", u"\uFF14"}) {
        EXPECT_TRUE(std::isnan(countValue(text)));
    }
}

}  // namespace
}  // namespace game
