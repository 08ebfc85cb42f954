#include "fakes.h"

#include <stdexcept>

namespace game::testing {

float ScriptedRandom::next() {
    if (values_.empty()) {
        throw std::logic_error("the scripted random source ran dry");
    }
    ++draws;
    const float value = values_.front();
    values_.pop_front();
    return value;
}

void ScriptedRandom::queueDigits(const std::u16string& digits) {
    for (const char16_t digit : digits) {
        // The middle of the digit's tenth of [0, 1).
        values_.push_back((static_cast<float>(digit - u'0') + 0.5F) / 10.0F);
    }
}

void RecordingMessages::show(MessageId id) {
    shown.push_back(id);
    if (board_ != nullptr) {
        boardsWhileShown.push_back(*board_);
    }
    if (whileShown) {
        whileShown(id);
    }
}

TestGame::TestGame(const std::u16string& secret)
    : game(messages, random), board(game.board()) {
    messages.watch(board);
    random.queueDigits(secret);
    game.load();
}

void TestGame::check(const std::u16string& guess) {
    board.enterText1(guess);
    game.click(Button::Command1);
}

std::vector<std::u16string> TestGame::rows() const {
    std::vector<std::u16string> result;
    for (int row = 1; row <= kRowCount; ++row) {
        result.push_back(board.text(guessCell(row)) + u":" + board.text(bullsCell(row)) + u":" +
                         board.text(hitsCell(row)));
    }
    return result;
}

bool sameBoard(const Board& a, const Board& b) {
    for (std::size_t i = 0; i < kCellCount; ++i) {
        const auto cell = static_cast<Cell>(i);
        if (a.text(cell) != b.text(cell) || a.visible(cell) != b.visible(cell) ||
            a.enabled(cell) != b.enabled(cell)) {
            return false;
        }
    }
    return true;
}

}  // namespace game::testing
