// The board's initial state, the guess box's length rule, clickability and
// change notification.
#include "board.h"

#include <gtest/gtest.h>

#include <vector>

namespace game {
namespace {

TEST(NewBoard, HoldsTheStartingStateOfEveryCell) {
    const Board board;
    EXPECT_EQ(board.text(Cell::Text1), u"");
    EXPECT_EQ(board.text(Cell::Command1), u"בדוק");
    EXPECT_TRUE(board.enabled(Cell::Command1));
    EXPECT_EQ(board.text(Cell::Frame1), u"קודים");
    EXPECT_FALSE(board.visible(Cell::Frame1));
    const std::u16string stored[] = {u"1", u"2", u"3", u"4"};
    for (int position = 1; position <= kSecretLength; ++position) {
        EXPECT_EQ(board.text(secretCell(position)), stored[position - 1]);
        EXPECT_FALSE(board.visible(secretCell(position)));
    }
    for (int row = 1; row <= kRowCount; ++row) {
        EXPECT_EQ(board.text(guessCell(row)), u"") << row;
        EXPECT_EQ(board.text(bullsCell(row)), u"0") << row;
        EXPECT_EQ(board.text(hitsCell(row)), u"0") << row;
        EXPECT_TRUE(board.visible(guessCell(row)));
    }
    for (std::size_t i = 0; i < kCellCount; ++i) {
        EXPECT_TRUE(board.enabled(static_cast<Cell>(i))) << cellName(static_cast<Cell>(i));
    }
}

TEST(CellNames, AreTheControlNamesInRowAndPositionOrder) {
    EXPECT_EQ(cellName(Cell::Text1), "Text1");
    EXPECT_EQ(cellName(guessCell(3)), "lbltry3");
    EXPECT_EQ(cellName(bullsCell(8)), "bol8");
    EXPECT_EQ(cellName(hitsCell(1)), "pgia1");
    EXPECT_EQ(cellName(secretCell(4)), "lbl4");
    EXPECT_EQ(buttonName(Button::Command8), "Command8");
}

struct ClipCase {
    const char* name;
    std::u16string typed;
    std::u16string kept;
};

class Text1Input : public ::testing::TestWithParam<ClipCase> {};

TEST_P(Text1Input, KeepsAtMostFourCodeUnits) {
    Board board;
    EXPECT_EQ(board.enterText1(GetParam().typed), GetParam().kept);
    EXPECT_EQ(board.text(Cell::Text1), GetParam().kept);
    board.setText(Cell::Text1, GetParam().typed);
    EXPECT_EQ(board.text(Cell::Text1), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Board, Text1Input,
    ::testing::Values(
        ClipCase{"Empty", u"", u""},
        ClipCase{"FourDigits", u"1234", u"1234"},
        ClipCase{"PastedFiveDigitsKeepsTheFirstFour", u"12345", u"1234"},
        ClipCase{"LettersAndSpacesAsTyped", u"a B ", u"a B "},
        ClipCase{"HebrewLetters", u"אבגדה", u"אבגד"},
        // Mended: a cut through a surrogate pair drops the lone high half.
        ClipCase{"CutThroughSurrogatePairDropsTheHighHalf", u"123\U0001F600", u"123"},
        ClipCase{"WholePairWithinFourUnitsIsKept", u"12\U0001F600x", u"12\U0001F600"},
        ClipCase{"LoneHighSurrogateAtTheEndOfFourIsKept", u"123\xD83D", u"123\xD83D"},
        ClipCase{"NulIsAnOrdinaryUnit", std::u16string(u"\0\0\0\0\0", 5), std::u16string(4, u'\0')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CanBeClicked, CodesButtonsOnlyWhileTheCodesPanelIsVisible) {
    Board board;
    const Button codes[] = {Button::Command4, Button::Command5, Button::Command6, Button::Command7,
                            Button::Command8};
    for (const Button button : codes) {
        EXPECT_FALSE(board.canBeClicked(button)) << buttonName(button);
    }
    board.setVisible(Cell::Frame1, true);
    for (const Button button : codes) {
        EXPECT_TRUE(board.canBeClicked(button)) << buttonName(button);
    }
    board.setVisible(Cell::Frame1, false);
    for (const Button button : codes) {
        EXPECT_FALSE(board.canBeClicked(button)) << buttonName(button);
    }
}

TEST(CanBeClicked, CheckButtonOnlyWhileEnabled) {
    Board board;
    EXPECT_TRUE(board.canBeClicked(Button::Command1));
    board.setEnabled(Cell::Command1, false);
    EXPECT_FALSE(board.canBeClicked(Button::Command1));
    EXPECT_TRUE(board.canBeClicked(Button::Command2));
    EXPECT_TRUE(board.canBeClicked(Button::Command3));
}

TEST(ChangeNotification, ReportsEveryWriteWithItsCell) {
    Board board;
    std::vector<Cell> seen;
    board.setObserver([&](Cell cell) { seen.push_back(cell); });
    board.setText(Cell::bol3, u"2");
    board.setVisible(Cell::lbl3, true);
    board.setEnabled(Cell::Command1, false);
    board.enterText1(u"12");
    EXPECT_EQ(seen, (std::vector<Cell>{Cell::bol3, Cell::lbl3, Cell::Command1, Cell::Text1}));
    EXPECT_TRUE(board.visible(Cell::lbl3));
    EXPECT_FALSE(board.visible(Cell::lbl2)) << "uncovering one digit uncovers only that digit";
}

}  // namespace
}  // namespace game
