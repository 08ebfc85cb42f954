// Routing of events to their handlers.
#include "game.h"

#include "codes_mode.h"
#include "guess_check.h"
#include "hints.h"
#include "new_game.h"

namespace game {

void Game::load() { Form1_Load(board_, random_); }

bool Game::click(Button button) {
    if (!board_.canBeClicked(button)) {
        return false;
    }
    switch (button) {
        case Button::Command1: Command1_Click(board_, messages_); break;
        case Button::Command2: Command2_Click(board_); break;
        case Button::Command3: Command3_Click(board_, random_); break;
        case Button::Command4: Command4_Click(board_); break;
        case Button::Command5: Command5_Click(board_); break;
        case Button::Command6: Command6_Click(board_); break;
        case Button::Command7: Command7_Click(board_); break;
        case Button::Command8: Command8_Click(board_); break;
    }
    return true;
}

void Game::doubleClickLabel6() { Label6_DblClick(board_, messages_); }

}  // namespace game
