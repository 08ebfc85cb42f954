// The fuzzer's random source and message sink.
#include "scripted_world.h"

#include "check.h"
#include "invariants.h"

namespace fuzz {

float InputRandomSource::next() {
    // Plenty for any real draw; a longer one means the input keeps repeating
    // digits, and the cycle below ends it.
    constexpr int kValuesFromInputPerDraw = 64;
    constexpr std::uint32_t kLargest = (1U << 24U) - 1U;
    constexpr float kUnit = 1.0F / 16777216.0F;  // 2^-24
    if (input_.remaining_bytes() > 0 && sinceReseed_++ < kValuesFromInputPerDraw) {
        return static_cast<float>(input_.ConsumeIntegralInRange<std::uint32_t>(0, kLargest)) * kUnit;
    }
    constexpr int kDigits = 10;
    cycle_ = (cycle_ + 1) % kDigits;
    return (static_cast<float>(cycle_) + 0.5F) / kDigits;
}

void AutoDismissSink::show(game::MessageId id) {
    using game::MessageId;
    FUZZ_CHECK(board_ != nullptr, "the sink watches the game's board");
    const game::Board& board = *board_;
    const auto index = static_cast<int>(id);
    if (index >= static_cast<int>(MessageId::WinIn1) && index <= static_cast<int>(MessageId::WinIn8)) {
        const int row = index - static_cast<int>(MessageId::WinIn1) + 1;
        FUZZ_CHECK(game::winMessage(row) == id, "winMessage maps a row to its own rating");
        FUZZ_CHECK(board.text(game::bullsCell(row)) == u"4",
                   "a rating is shown for the row that holds four bulls");
    } else if (id == MessageId::Lost) {
        FUZZ_CHECK(!board.text(game::Cell::lbltry8).empty() && !someRowWon(board),
                   "a loss is shown only with row 8 used and no row won");
    } else if (id == MessageId::CodesModeOn) {
        FUZZ_CHECK(board.text(game::Cell::Text1) == u"3838",
                   "the greeting needs the access code in Text1");
    }
    shown_.push_back(id);
}

}  // namespace fuzz
