// The Click of the check button: refusals, placement and scoring.
#include "guess_check.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace game {
namespace {

using testing::TestGame;

struct Score {
    std::u16string guess;
    std::u16string bulls;
    std::u16string hits;
};

class ScoringAgainst1234 : public ::testing::TestWithParam<Score> {};

TEST_P(ScoringAgainst1234, CountsBullsAndHitsOfTheFirstRow) {
    TestGame play(u"1234");
    play.check(GetParam().guess);
    EXPECT_EQ(play.board.text(Cell::lbltry1), GetParam().guess);
    EXPECT_EQ(play.board.text(Cell::bol1), GetParam().bulls);
    EXPECT_EQ(play.board.text(Cell::pgia1), GetParam().hits);
}

INSTANTIATE_TEST_SUITE_P(
    Guesses, ScoringAgainst1234,
    ::testing::Values(Score{u"1234", u"4", u"0"}, Score{u"1243", u"2", u"2"},
                      Score{u"4321", u"0", u"4"}, Score{u"2135", u"1", u"2"},
                      Score{u"9130", u"1", u"1"}, Score{u"5678", u"0", u"0"},
                      Score{u"abcd", u"0", u"0"},
                      // Other characters are accepted and simply never match.
                      Score{u"אבגד", u"0", u"0"}, Score{u" 234", u"3", u"0"},
                      Score{u"4 21", u"0", u"3"}, Score{u"aA12", u"0", u"2"},
                      // Full-width digits look alike but are other code units.
                      Score{u"\uFF11\uFF12\uFF13\uFF14", u"0", u"0"}));

struct Refusal {
    const char* name;
    std::u16string typed;
    MessageId message;
};

class Refusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refusals, ShowOneMessageChangeNoRowAndEmptyTheGuessBox) {
    TestGame play(u"1234");
    play.check(u"5678");
    const Board before = play.board;
    play.board.enterText1(GetParam().typed);
    play.game.click(Button::Command1);
    ASSERT_EQ(play.messages.shown, std::vector<MessageId>{GetParam().message});
    // While the box is up the typed text is still there and nothing else moved.
    EXPECT_EQ(play.messages.boardsWhileShown.front().text(Cell::Text1), GetParam().typed);
    EXPECT_EQ(play.board.text(Cell::Text1), u"");
    EXPECT_TRUE(testing::sameBoard(play.board, before));
}

INSTANTIATE_TEST_SUITE_P(
    Guesses, Refusals,
    ::testing::Values(Refusal{"Empty", u"", MessageId::NeedFourDigits},
                      Refusal{"OneCharacter", u"1", MessageId::NeedFourDigits},
                      Refusal{"ThreeCharacters", u"123", MessageId::NeedFourDigits},
                      // The length test comes first: "11" is never tested for repeats.
                      Refusal{"ShortAndRepeated", u"11", MessageId::NeedFourDigits},
                      Refusal{"Positions1And2", u"1123", MessageId::RepeatedDigit},
                      Refusal{"Positions1And3", u"1213", MessageId::RepeatedDigit},
                      Refusal{"Positions1And4", u"1231", MessageId::RepeatedDigit},
                      Refusal{"Positions2And3", u"1223", MessageId::RepeatedDigit},
                      Refusal{"Positions2And4", u"1232", MessageId::RepeatedDigit},
                      Refusal{"Positions3And4", u"1233", MessageId::RepeatedDigit},
                      Refusal{"TwoSpaces", u"1 2 ", MessageId::RepeatedDigit},
                      Refusal{"SameLetter", u"abca", MessageId::RepeatedDigit}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Placement, FillsRowsFromTheFirstEmptyOne) {
    TestGame play(u"1234");
    play.check(u"5678");
    play.check(u"1243");
    EXPECT_EQ(play.rows()[0], u"5678:0:0");
    EXPECT_EQ(play.rows()[1], u"1243:2:2");
    EXPECT_EQ(play.rows()[2], u":0:0");
    EXPECT_TRUE(play.messages.shown.empty());
    EXPECT_TRUE(play.board.enabled(Cell::Command1));
}

TEST(Placement, AGapAboveAUsedRowIsFilledFirst) {
    TestGame play(u"1234");
    play.board.setText(Cell::lbltry3, u"5678");
    play.check(u"4321");
    EXPECT_EQ(play.board.text(Cell::lbltry1), u"4321");
    EXPECT_EQ(play.board.text(Cell::lbltry2), u"");
    EXPECT_EQ(play.board.text(Cell::lbltry3), u"5678");
}

TEST(Scoring, RescoresEveryRowAgainstTheCurrentSecret) {
    TestGame play(u"1234");
    play.check(u"1243");
    // A secret changed behind the board's back shows in every row's counts.
    play.board.setText(Cell::lbl1, u"2");
    play.board.setText(Cell::lbl2, u"1");
    play.board.setText(Cell::bol5, u"3");  // a stale count in an empty row
    play.check(u"5678");
    EXPECT_EQ(play.rows()[0], u"1243:0:4");
    EXPECT_EQ(play.rows()[1], u"5678:0:0");
    EXPECT_EQ(play.rows()[4], u":0:0");
}

TEST(Scoring, UncoveredSecretScoresTheSame) {
    TestGame play(u"1234");
    play.board.setVisible(Cell::lbl2, true);
    play.check(u"2135");
    EXPECT_EQ(play.rows()[0], u"2135:1:2");
}

TEST(Placement, AGuessAfterEightUsedRowsIsDroppedButTheBoardIsRescored) {
    TestGame play(u"1234");
    for (int row = 1; row <= kRowCount; ++row) {
        play.board.setText(guessCell(row), u"2135");
        play.board.setText(bullsCell(row), u"3");  // stale counts
    }
    play.check(u"1234");
    for (int row = 1; row <= kRowCount; ++row) {
        EXPECT_EQ(play.rows()[row - 1], u"2135:1:2") << row;
    }
    // Eight rows used without a win: the outcome step still runs.
    EXPECT_EQ(play.messages.shown, std::vector<MessageId>{MessageId::Lost});
    EXPECT_EQ(play.board.text(Cell::Text1), u"");
}

}  // namespace
}  // namespace game
