// Show-number, single digits, erase, codes mode and new game, driven through
// the game's events as the player would.
#include <gtest/gtest.h>

#include "codes_mode.h"
#include "fakes.h"

namespace game {
namespace {

using testing::TestGame;

std::vector<Cell> visibleSecretCells(const Board& board) {
    std::vector<Cell> cells;
    for (int position = 1; position <= kSecretLength; ++position) {
        if (board.visible(secretCell(position))) {
            cells.push_back(secretCell(position));
        }
    }
    return cells;
}

const std::vector<Cell> kWholeSecret = {Cell::lbl1, Cell::lbl2, Cell::lbl3, Cell::lbl4};

TEST(ShowNumber, EndsTheGameWithoutAMessageAndIsIdempotent) {
    TestGame play(u"1234");
    play.check(u"5678");
    play.board.enterText1(u"12");
    for (int click = 0; click < 2; ++click) {
        EXPECT_TRUE(play.game.click(Button::Command2));
        EXPECT_FALSE(play.board.enabled(Cell::Command1));
        EXPECT_EQ(visibleSecretCells(play.board), kWholeSecret);
    }
    EXPECT_TRUE(play.messages.shown.empty());
    EXPECT_EQ(play.board.text(Cell::Text1), u"12");
    EXPECT_EQ(play.rows()[0], u"5678:0:0");
    EXPECT_FALSE(play.game.click(Button::Command1));
}

TEST(CodesMode, ClosedButtonsDoNothing) {
    TestGame play(u"1234");
    play.check(u"5678");
    const Board before = play.board;
    for (const Button button : {Button::Command4, Button::Command5, Button::Command6,
                                Button::Command7, Button::Command8}) {
        EXPECT_FALSE(play.game.click(button));
    }
    EXPECT_TRUE(testing::sameBoard(play.board, before));
}

TEST(CodesMode, EachDigitButtonUncoversOnlyItsDigitAndTheGameGoesOn) {
    TestGame play(u"1234");
    play.game.doubleClickLabel6();
    EXPECT_TRUE(play.game.click(Button::Command6));
    EXPECT_EQ(visibleSecretCells(play.board), std::vector<Cell>{Cell::lbl3});
    EXPECT_TRUE(play.game.click(Button::Command6)) << "a second click changes nothing";
    EXPECT_TRUE(play.game.click(Button::Command4));
    EXPECT_TRUE(play.game.click(Button::Command5));
    EXPECT_TRUE(play.game.click(Button::Command7));
    EXPECT_EQ(visibleSecretCells(play.board), kWholeSecret);
    EXPECT_TRUE(play.board.enabled(Cell::Command1)) << "uncovered digits do not end the game";
    play.check(u"1234");
    EXPECT_EQ(play.messages.shown, std::vector<MessageId>{MessageId::WinIn1});
}

TEST(CodesMode, EraseKeepsTheSecretTheGuessBoxAndCheckingThenAWinCountsFromRowOne) {
    TestGame play(u"1234");
    for (int row = 1; row <= 8 - 1; ++row) {
        play.check(u"5678");
    }
    play.game.doubleClickLabel6();
    play.board.enterText1(u"12");
    EXPECT_TRUE(play.game.click(Button::Command8));
    for (int row = 1; row <= kRowCount; ++row) {
        EXPECT_EQ(play.rows()[row - 1], u":0:0") << row;
    }
    EXPECT_EQ(play.board.text(Cell::Text1), u"12");
    EXPECT_TRUE(play.board.enabled(Cell::Command1));
    EXPECT_TRUE(visibleSecretCells(play.board).empty());
    EXPECT_EQ(play.board.text(Cell::lbl1) + play.board.text(Cell::lbl4), u"14");
    play.check(u"1234");
    EXPECT_EQ(play.board.text(Cell::lbltry1), u"1234");
    EXPECT_EQ(play.messages.shown, std::vector<MessageId>{MessageId::WinIn1});
}

TEST(CodesMode, EraseAfterTheEndDoesNotReopenTheGame) {
    TestGame play(u"1234");
    play.game.click(Button::Command2);
    play.game.doubleClickLabel6();
    play.game.click(Button::Command8);
    EXPECT_FALSE(play.board.enabled(Cell::Command1));
    EXPECT_EQ(visibleSecretCells(play.board), kWholeSecret);
}

struct DoubleClick {
    const char* name;
    std::u16string typed;
    bool greeted;
};

class Label6DoubleClick : public ::testing::TestWithParam<DoubleClick> {};

TEST_P(Label6DoubleClick, AlwaysOpensThePanelAndEmptiesTheGuessBox) {
    TestGame play(u"1234");
    play.check(u"5678");
    for (int time = 1; time <= 2; ++time) {  // the second time the panel is already open
        play.board.enterText1(GetParam().typed);
        play.game.doubleClickLabel6();
        EXPECT_EQ(play.board.text(Cell::Text1), u"");
        EXPECT_TRUE(play.board.visible(Cell::Frame1));
    }
    if (GetParam().greeted) {
        EXPECT_EQ(play.messages.shown,
                  (std::vector<MessageId>{MessageId::CodesModeOn, MessageId::CodesModeOn}));
        const Board& whileShown = play.messages.boardsWhileShown.front();
        EXPECT_EQ(whileShown.text(Cell::Text1), kAccessCode) << "the code stays while greeting";
        EXPECT_FALSE(whileShown.visible(Cell::Frame1)) << "the panel opens after the greeting";
    } else {
        EXPECT_TRUE(play.messages.shown.empty());
    }
    EXPECT_EQ(play.rows()[0], u"5678:0:0");
    EXPECT_TRUE(play.board.enabled(Cell::Command1));
    EXPECT_TRUE(visibleSecretCells(play.board).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Typed, Label6DoubleClick,
    ::testing::Values(DoubleClick{"AccessCode", u"3838", true}, DoubleClick{"Empty", u"", false},
                      DoubleClick{"PartialGuess", u"12", false},
                      DoubleClick{"PrefixOfTheCode", u"383", false},
                      DoubleClick{"OtherDigits", u"3839", false},
                      DoubleClick{"LeadingSpace", u" 383", false},
                      DoubleClick{"FullWidthDigits", u"\uFF13\uFF18\uFF13\uFF18", false}),
    [](const auto& info) { return std::string(info.param.name); });

// The states a new game must lead out of.
enum class State { InPlay, Won, Lost, Shown, CodesOpen, EightRowsErased };

class NewGameFrom : public ::testing::TestWithParam<State> {};

TEST_P(NewGameFrom, StartsAFreshHiddenGame) {
    TestGame play(u"1234");
    switch (GetParam()) {
        case State::InPlay: play.check(u"5678"); break;
        case State::Won: play.check(u"1234"); break;
        case State::Lost:
            for (int row = 1; row <= kRowCount; ++row) {
                play.check(u"5678");
            }
            break;
        case State::Shown: play.game.click(Button::Command2); break;
        case State::CodesOpen:
            play.game.doubleClickLabel6();
            play.game.click(Button::Command5);
            break;
        case State::EightRowsErased:
            play.game.doubleClickLabel6();
            play.game.click(Button::Command8);
            break;
    }
    play.board.enterText1(u"98");
    const int reseedsBefore = play.random.reseeds;
    play.random.queueDigits(u"4" u"4" u"3" u"2" u"1");  // the repeated 4 is drawn again

    EXPECT_TRUE(play.game.click(Button::Command3));

    EXPECT_EQ(play.random.reseeds, reseedsBefore + 1);
    EXPECT_TRUE(play.random.exhausted());
    EXPECT_EQ(play.board.text(Cell::lbl1) + play.board.text(Cell::lbl2) + play.board.text(Cell::lbl3) +
                  play.board.text(Cell::lbl4),
              u"4321");
    EXPECT_TRUE(visibleSecretCells(play.board).empty());
    EXPECT_FALSE(play.board.visible(Cell::Frame1));
    EXPECT_TRUE(play.board.enabled(Cell::Command1));
    EXPECT_EQ(play.board.text(Cell::Text1), u"");
    for (int row = 1; row <= kRowCount; ++row) {
        EXPECT_EQ(play.rows()[row - 1], u":0:0") << row;
    }
    EXPECT_EQ(play.board.text(Cell::Command1), u"בדוק");
    EXPECT_EQ(play.board.text(Cell::Frame1), u"קודים");
    play.check(u"4321");
    EXPECT_EQ(play.messages.shown.back(), MessageId::WinIn1) << "the next guess lands in row 1";
}

INSTANTIATE_TEST_SUITE_P(States, NewGameFrom,
                         ::testing::Values(State::InPlay, State::Won, State::Lost, State::Shown,
                                           State::CodesOpen, State::EightRowsErased));

TEST(NewGame, WritesItsStepsInOrder) {
    TestGame play(u"1234");
    std::vector<Cell> order;
    play.board.setObserver([&](Cell cell) { order.push_back(cell); });
    play.random.queueDigits(u"5678");
    play.game.click(Button::Command3);
    std::vector<Cell> expected = {Cell::Frame1, Cell::Command1};
    for (int row = 1; row <= kRowCount; ++row) expected.push_back(bullsCell(row));
    for (int row = 1; row <= kRowCount; ++row) expected.push_back(hitsCell(row));
    for (int row = 1; row <= kRowCount; ++row) expected.push_back(guessCell(row));
    expected.insert(expected.end(), kWholeSecret.begin(), kWholeSecret.end());  // texts
    expected.push_back(Cell::Text1);
    expected.insert(expected.end(), kWholeSecret.begin(), kWholeSecret.end());  // hidden
    EXPECT_EQ(order, expected);
}

TEST(Load, DrawsOnlyTheSecret) {
    TestGame play(u"0937");
    Board fresh;
    EXPECT_EQ(play.random.reseeds, 1);
    EXPECT_EQ(play.board.text(Cell::lbl1) + play.board.text(Cell::lbl2) + play.board.text(Cell::lbl3) +
                  play.board.text(Cell::lbl4),
              u"0937");
    for (int position = 1; position <= kSecretLength; ++position) {
        fresh.setText(secretCell(position), play.board.text(secretCell(position)));
    }
    EXPECT_TRUE(testing::sameBoard(play.board, fresh));
}

}  // namespace
}  // namespace game
