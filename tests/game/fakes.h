// Test doubles for the game's two windows on the world, and board shorthands.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "board.h"
#include "game.h"
#include "messages.h"
#include "random_source.h"

namespace game::testing {

// Plays back the values it was given; runs dry loudly.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::deque<float> values = {}) : values_(std::move(values)) {}

    void reseed() override { ++reseeds; }
    float next() override;

    // Queues one value per digit, so that GetRandomInteger(0, 9) returns it.
    void queueDigits(const std::u16string& digits);
    bool exhausted() const { return values_.empty(); }

    int reseeds = 0;
    int draws = 0;

private:
    std::deque<float> values_;
};

// Records every message shown, with a copy of the board taken while it was up.
class RecordingMessages : public MessageBox {
public:
    explicit RecordingMessages(const Board* board = nullptr) : board_(board) {}

    void watch(const Board& board) { board_ = &board; }
    void show(MessageId id) override;

    std::vector<MessageId> shown;
    std::vector<Board> boardsWhileShown;
    // Runs while the message is up, before it is dismissed.
    std::function<void(MessageId)> whileShown;

private:
    const Board* board_;
};

// A game with a scripted source and recorded messages; its first secret is
// `secret` (four digits).
struct TestGame {
    explicit TestGame(const std::u16string& secret = u"1234");

    // Types `guess` into Text1 and clicks Command1.
    void check(const std::u16string& guess);
    // The row texts as one compact string per row: "guess:bulls:hits".
    std::vector<std::u16string> rows() const;

    ScriptedRandom random;
    RecordingMessages messages;
    Game game;
    Board& board;
};

// Every value of every cell, for comparing whole boards.
bool sameBoard(const Board& a, const Board& b);

}  // namespace game::testing
