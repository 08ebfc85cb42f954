// The whole state of a game: every cell's text, visible flag and enabled flag.
// The rules read and write these cells and keep nothing else between events.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "cell.h"

namespace game {

// The guess box never holds more than this many UTF-16 code units.
inline constexpr std::size_t kText1MaxLength = 4;

// Cuts text to what the guess box can hold: the first kText1MaxLength code
// units, one fewer when the cut would leave half of a surrogate pair.
std::u16string clipToText1(std::u16string_view text);

class Board {
public:
    // Called after every write, with the cell written (also when the value did
    // not change, which costs the window nothing but a redundant update).
    using Observer = std::function<void(Cell)>;

    // Every cell in its initial state.
    Board();

    const std::u16string& text(Cell cell) const { return at(cell).text; }
    bool visible(Cell cell) const { return at(cell).visible; }
    bool enabled(Cell cell) const { return at(cell).enabled; }

    // Writing Text1 keeps at most kText1MaxLength code units (see clipToText1).
    void setText(Cell cell, std::u16string_view text);
    void setVisible(Cell cell, bool visible);
    void setEnabled(Cell cell, bool enabled);

    // The player's edit of the guess box: the text as typed or pasted, cut to
    // what fits. Returns the text Text1 holds afterwards.
    const std::u16string& enterText1(std::u16string_view typed);

    // Whether a click of the button would reach its handler now.
    bool canBeClicked(Button button) const;

    void setObserver(Observer observer) { observer_ = std::move(observer); }

private:
    struct Values {
        std::u16string text;
        bool visible = true;
        bool enabled = true;
    };

    Values& at(Cell cell) { return cells_[static_cast<std::size_t>(cell)]; }
    const Values& at(Cell cell) const { return cells_[static_cast<std::size_t>(cell)]; }
    void changed(Cell cell) const;

    std::array<Values, kCellCount> cells_;
    Observer observer_;
};

}  // namespace game
