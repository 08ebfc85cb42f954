// The secret draw, timed: with a scripted source (the rules alone) and with
// the game's own source (reseeding from the clock and the system included).
#include <benchmark/benchmark.h>

#include "board.h"
#include "scripted_sources.h"
#include "secret.h"

namespace {

// Four draws, no digit repeated.
void BM_DrawSecretNoRepeats(benchmark::State& state) {
    game::Board board;
    bench::ScriptedRandomSource random({0.95F, 0.05F, 0.55F, 0.35F});
    for (auto _ : state) {
        game::drawSecret(board, random);
    }
    if (board.text(game::Cell::lbl1) != u"9" || board.text(game::Cell::lbl4) != u"3") {
        state.SkipWithError("the scripted source should draw 9, 0, 5, 3");
    }
}
BENCHMARK(BM_DrawSecretNoRepeats);

// Every digit after the first is drawn again several times before a new one
// comes up: the redraw loops dominate.
void BM_DrawSecretWithRedraws(benchmark::State& state) {
    game::Board board;
    bench::ScriptedRandomSource random({0.15F, 0.15F, 0.15F, 0.15F, 0.25F, 0.15F, 0.25F,
                                        0.15F, 0.25F, 0.35F, 0.15F, 0.25F, 0.35F, 0.45F});
    for (auto _ : state) {
        game::drawSecret(board, random);
    }
    if (board.text(game::Cell::lbl4) != u"4") {
        state.SkipWithError("the scripted source should end on 4");
    }
}
BENCHMARK(BM_DrawSecretWithRedraws);

// What a new game really costs: the game's source reseeds from the clock and
// the operating system's entropy before every draw.
void BM_DrawSecretSystemSource(benchmark::State& state) {
    game::Board board;
    game::SystemRandomSource random;
    for (auto _ : state) {
        game::drawSecret(board, random);
    }
    // A copy, not the const reference: Debian 13's benchmark deprecates the latter.
    auto secretText = board.text(game::Cell::lbl1);
    benchmark::DoNotOptimize(secretText);
}
BENCHMARK(BM_DrawSecretSystemSource);

// The integer every digit comes from.
void BM_GetRandomInteger(benchmark::State& state) {
    bench::ScriptedRandomSource random({0.0F, 0.5F, 0.99999994F});
    for (auto _ : state) {
        benchmark::DoNotOptimize(game::GetRandomInteger(random, 0, 9));
    }
}
BENCHMARK(BM_GetRandomInteger);

}  // namespace
