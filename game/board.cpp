// The board's initial state and its player-input rule.
#include "board.h"

namespace game {

namespace {

struct InitialCell {
    Cell cell;
    std::u16string_view text;
    bool visible;
};

// Cells not listed start with empty text; every cell starts enabled.
constexpr std::array kInitialCells = {
    InitialCell{Cell::Command1, u"בדוק", true},
    InitialCell{Cell::Frame1, u"קודים", false},
    InitialCell{Cell::lbl1, u"1", false},
    InitialCell{Cell::lbl2, u"2", false},
    InitialCell{Cell::lbl3, u"3", false},
    InitialCell{Cell::lbl4, u"4", false},
    InitialCell{Cell::bol1, u"0", true},  InitialCell{Cell::bol2, u"0", true},
    InitialCell{Cell::bol3, u"0", true},  InitialCell{Cell::bol4, u"0", true},
    InitialCell{Cell::bol5, u"0", true},  InitialCell{Cell::bol6, u"0", true},
    InitialCell{Cell::bol7, u"0", true},  InitialCell{Cell::bol8, u"0", true},
    InitialCell{Cell::pgia1, u"0", true}, InitialCell{Cell::pgia2, u"0", true},
    InitialCell{Cell::pgia3, u"0", true}, InitialCell{Cell::pgia4, u"0", true},
    InitialCell{Cell::pgia5, u"0", true}, InitialCell{Cell::pgia6, u"0", true},
    InitialCell{Cell::pgia7, u"0", true}, InitialCell{Cell::pgia8, u"0", true},
};

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::u16string clipToText1(std::u16string_view text) {
    if (text.size() <= kText1MaxLength) {
        return std::u16string(text);
    }
    std::size_t keep = kText1MaxLength;
    // Keeping the high half of a pair whose low half is cut off would leave a
    // lone surrogate: a character the player never typed.
    if (isHighSurrogate(text[keep - 1]) && isLowSurrogate(text[keep])) {
        --keep;
    }
    return std::u16string(text.substr(0, keep));
}

Board::Board() {
    for (const InitialCell& initial : kInitialCells) {
        Values& values = at(initial.cell);
        values.text = initial.text;
        values.visible = initial.visible;
    }
}

void Board::setText(Cell cell, std::u16string_view text) {
    at(cell).text = cell == Cell::Text1 ? clipToText1(text) : std::u16string(text);
    changed(cell);
}

void Board::setVisible(Cell cell, bool visible) {
    at(cell).visible = visible;
    changed(cell);
}

void Board::setEnabled(Cell cell, bool enabled) {
    at(cell).enabled = enabled;
    changed(cell);
}

const std::u16string& Board::enterText1(std::u16string_view typed) {
    setText(Cell::Text1, typed);
    return text(Cell::Text1);
}

bool Board::canBeClicked(Button button) const {
    switch (button) {
        case Button::Command1:
            return enabled(Cell::Command1) && visible(Cell::Command1);
        case Button::Command2:
        case Button::Command3:
            return true;
        case Button::Command4:
        case Button::Command5:
        case Button::Command6:
        case Button::Command7:
        case Button::Command8:
            return visible(Cell::Frame1);
    }
    return false;
}

void Board::changed(Cell cell) const {
    if (observer_) {
        observer_(cell);
    }
}

}  // namespace game
