// Board to page through the Board's observer; Text1 to Board on every edit.
#include "cell_binding.h"

#include <string>

namespace web {

CellBinding::CellBinding(game::Board& board, emscripten::val page)
    : board_(board), page_(std::move(page)) {
    for (std::size_t i = 0; i < game::kCellCount; ++i) {
        show(static_cast<game::Cell>(i));
    }
    board_.setObserver([this](game::Cell cell) { show(cell); });
}

CellBinding::~CellBinding() { board_.setObserver(nullptr); }

void CellBinding::text1Edited(const std::u16string& shown) {
    // The Board's own writes come back equal to the cell and are not entered
    // again. When the Board cuts the text (a surrogate pair split by the box's
    // length limit), the observer puts the cut text back into the box.
    if (shown != board_.text(game::Cell::Text1)) {
        board_.enterText1(shown);
    }
}

void CellBinding::show(game::Cell cell) {
    page_.call<void>("showCell", std::string(game::cellName(cell)), board_.text(cell),
                     board_.visible(cell), board_.enabled(cell));
}

}  // namespace web
