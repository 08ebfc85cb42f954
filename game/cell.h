// The named cells of the board and the buttons that raise events.
// Each cell bears the name of the control that shows it.
#pragma once

#include <cstddef>
#include <string_view>

namespace game {

// Rows and positions are contiguous, so the accessors below can address
// "row N" without the rules keeping arrays of cells.
enum class Cell {
    Text1,
    Command1,
    Frame1,
    lbl1, lbl2, lbl3, lbl4,
    lbltry1, lbltry2, lbltry3, lbltry4, lbltry5, lbltry6, lbltry7, lbltry8,
    bol1, bol2, bol3, bol4, bol5, bol6, bol7, bol8,
    pgia1, pgia2, pgia3, pgia4, pgia5, pgia6, pgia7, pgia8,
};

inline constexpr std::size_t kCellCount = static_cast<std::size_t>(Cell::pgia8) + 1;
inline constexpr int kRowCount = 8;
inline constexpr int kSecretLength = 4;

// Buttons are sources of events; only Command1 is also a cell.
enum class Button { Command1, Command2, Command3, Command4, Command5, Command6, Command7, Command8 };

inline constexpr std::size_t kButtonCount = static_cast<std::size_t>(Button::Command8) + 1;

// The control name of a cell or button, e.g. "lbltry3".
std::string_view cellName(Cell cell);
std::string_view buttonName(Button button);

// 1 <= row <= kRowCount.
Cell guessCell(int row);
Cell bullsCell(int row);
Cell hitsCell(int row);
// 1 <= position <= kSecretLength.
Cell secretCell(int position);

}  // namespace game
