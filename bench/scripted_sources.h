// Stand-ins for the outside world that keep a benchmark measuring the rules
// alone: a random source that replays fixed values and a message sink that
// returns at once instead of waiting for the player.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "messages.h"
#include "random_source.h"

namespace bench {

// Replays `values` in a loop; reseed() starts it over, so every draw that
// follows a reseed sees the same sequence.
class ScriptedRandomSource : public game::RandomSource {
public:
    explicit ScriptedRandomSource(std::vector<float> values) : values_(std::move(values)) {}

    void reseed() override { next_ = 0; }
    float next() override {
        const float value = values_[next_];
        next_ = (next_ + 1) % values_.size();
        return value;
    }

private:
    std::vector<float> values_;
    std::size_t next_ = 0;
};

// Counts the messages instead of showing them, so the count can be checked
// and the work cannot be optimised away.
class CountingMessageSink : public game::MessageBox {
public:
    void show(game::MessageId /*id*/) override { ++shown_; }
    std::size_t shown() const { return shown_; }

private:
    std::size_t shown_ = 0;
};

}  // namespace bench
