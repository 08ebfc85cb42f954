// The outside world as the fuzzer plays it: random numbers taken from the
// input, and message boxes that the player dismisses at once.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "board.h"
#include "messages.h"
#include "random_source.h"

namespace fuzz {

// Values come from the input while it lasts, as multiples of 2^-24 so that
// 0 and the largest value below 1 are both reachable. Once the input is spent,
// or a draw has taken many values without finishing, it cycles through the
// middles of the ten digits, so every secret draw ends.
class InputRandomSource : public game::RandomSource {
public:
    explicit InputRandomSource(FuzzedDataProvider& input) : input_(input) {}

    void reseed() override { sinceReseed_ = 0; }
    float next() override;

private:
    FuzzedDataProvider& input_;
    int sinceReseed_ = 0;
    int cycle_ = 0;
};

// Records every message of the current action and checks, the moment a
// rating or a loss is shown, that the board backs it.
class AutoDismissSink : public game::MessageBox {
public:
    // The board the messages are checked against; set before any is shown.
    void watch(const game::Board& board) { board_ = &board; }

    void show(game::MessageId id) override;

    const std::vector<game::MessageId>& shown() const { return shown_; }
    void clear() { shown_.clear(); }

private:
    const game::Board* board_ = nullptr;
    std::vector<game::MessageId> shown_;
};

}  // namespace fuzz
