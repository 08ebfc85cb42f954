// Opening the codes panel from the credit label.
#pragma once

#include <string_view>

#include "board.h"
#include "messages.h"

namespace game {

// Typed into Text1 before the double-click, it earns a greeting.
inline constexpr std::u16string_view kAccessCode = u"3838";

// Greets the player if Text1 holds the access code exactly, then always
// empties Text1 and opens the codes panel.
void Label6_DblClick(Board& board, MessageBox& messages);

}  // namespace game
