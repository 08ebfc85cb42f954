// The stored layout of Form1: every control with its kind, place, caption,
// colour, font and flags, in stacking order from the topmost down.
// Plain data with no toolkit, so that every front end and its tests read one table.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace form {

// 15 twips are one logical pixel; every stored value is a multiple of 15.
inline constexpr int kTwipsPerPixel = 15;
constexpr int pixels(int twips) { return twips / kTwipsPerPixel; }

inline constexpr std::u16string_view kForm1Caption = u"זמבורה";
inline constexpr int kForm1ClientWidth = 6000;   // twips
inline constexpr int kForm1ClientHeight = 7650;  // twips
inline constexpr std::uint32_t kForm1BackColour = 0x8080FF;

enum class Kind { Button, TextBox, Frame, Label, Line };

enum class Font {
    Default,  // the platform's dialog font: buttons and the frame
    A,        // "David" 21.75 pt, regular: the board's cells and headings
    B,        // "David" 12 pt, bold: the credit label
};

// Bits of Control::flags.
enum Flag : unsigned {
    Hidden = 1U << 0,       // starts invisible
    Transparent = 1U << 1,  // a label that paints no background
    Border = 1U << 2,       // a label with a sunken 2-pixel border inside its rectangle
    AutoSize = 1U << 3,     // a label that keeps left/top and takes the size of its text
    MaxLength4 = 1U << 4,   // the text box holds at most 4 characters
    // The text box, the buttons and the frame: above every label and line,
    // whatever their places in the table.
    AboveLabels = 1U << 5,
    // Drawn only (the lines, the headings' strip, the board's frame): it says
    // nothing a player needs to read or hear.
    Decoration = 1U << 6,
};

struct Control {
    std::string_view name;  // the object name; cells and buttons share it with the Board
    Kind kind;
    std::string_view parent;  // empty for the window itself, else the name of a frame
    // Left, top, width, height in twips; for a line X1, Y1, X2, Y2.
    int x1;
    int y1;
    int x2;
    int y2;
    std::u16string_view caption;
    std::optional<std::uint32_t> backColour;  // #RRGGBB; none: the platform's default
    Font font;
    unsigned flags;
    std::optional<int> tabIndex;  // none for lines, which take no focus

    bool has(Flag flag) const { return (flags & flag) != 0; }
};

inline constexpr std::size_t kControlCount = 60;

// Topmost first. Among labels and lines this order is the drawing order;
// the controls flagged AboveLabels lie above all of them. Every name is
// non-empty and found once (checked when the table compiles).
// (Defined constexpr in layout.cpp. Without thread-safe statics, as the page
// is built, clang-tidy takes any such declaration for a dynamic initialiser.)
// NOLINTNEXTLINE(bugprone-dynamic-static-initializers)
extern const std::array<Control, kControlCount> kLayout;

// The entry named `name`, if the layout has one.
const Control* findControl(std::string_view name);

// The rectangle of a control in pixels, relative to its parent. A line covers
// every pixel from one end point to the other, both included, 1 pixel thick.
struct PixelRect {
    int left;
    int top;
    int width;
    int height;
};
PixelRect pixelRect(const Control& control);

}  // namespace form
