// Names of the cells and the arithmetic of rows and positions.
#include "cell.h"

#include <array>
#include <cassert>

namespace game {

namespace {

constexpr std::array<std::string_view, kCellCount> kCellNames = {
    "Text1",   "Command1", "Frame1",
    "lbl1",    "lbl2",     "lbl3",    "lbl4",
    "lbltry1", "lbltry2",  "lbltry3", "lbltry4", "lbltry5", "lbltry6", "lbltry7", "lbltry8",
    "bol1",    "bol2",     "bol3",    "bol4",    "bol5",    "bol6",    "bol7",    "bol8",
    "pgia1",   "pgia2",    "pgia3",   "pgia4",   "pgia5",   "pgia6",   "pgia7",   "pgia8",
};

constexpr std::array<std::string_view, kButtonCount> kButtonNames = {
    "Command1", "Command2", "Command3", "Command4", "Command5", "Command6", "Command7", "Command8",
};

Cell offset(Cell first, int index) {
    return static_cast<Cell>(static_cast<int>(first) + index);
}

}  // namespace

std::string_view cellName(Cell cell) { return kCellNames.at(static_cast<std::size_t>(cell)); }

std::string_view buttonName(Button button) {
    return kButtonNames.at(static_cast<std::size_t>(button));
}

Cell guessCell(int row) {
    assert(row >= 1 && row <= kRowCount);
    return offset(Cell::lbltry1, row - 1);
}

Cell bullsCell(int row) {
    assert(row >= 1 && row <= kRowCount);
    return offset(Cell::bol1, row - 1);
}

Cell hitsCell(int row) {
    assert(row >= 1 && row <= kRowCount);
    return offset(Cell::pgia1, row - 1);
}

Cell secretCell(int position) {
    assert(position >= 1 && position <= kSecretLength);
    return offset(Cell::lbl1, position - 1);
}

}  // namespace game
