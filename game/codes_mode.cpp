// Codes mode.
#include "codes_mode.h"

namespace game {

void Label6_DblClick(Board& board, MessageBox& messages) {
    if (board.text(Cell::Text1) == kAccessCode) {
        messages.show(MessageId::CodesModeOn);
    }
    board.setText(Cell::Text1, u"");
    board.setVisible(Cell::Frame1, true);
}

}  // namespace game
