// A board with the handlers bound to its events: what the window, the tests
// and the fuzzer drive.
#pragma once

#include "board.h"
#include "messages.h"
#include "random_source.h"

namespace game {

class Game {
public:
    // `messages` and `random` must outlive the game.
    Game(MessageBox& messages, RandomSource& random) : messages_(messages), random_(random) {}

    Board& board() { return board_; }
    const Board& board() const { return board_; }

    // The window's Load: draws the first secret.
    void load();
    // Runs the button's Click handler if the button can be clicked now;
    // returns whether it did.
    bool click(Button button);
    // The credit label's double-click.
    void doubleClickLabel6();

private:
    Board board_;
    MessageBox& messages_;
    RandomSource& random_;
};

}  // namespace game
