// The player's move, timed: the Click of Command1 with the rules alone.
#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

#include "game.h"
#include "scripted_sources.h"

namespace {

// Draws the secret 1, 2, 3, 4 (each value lands in the middle of its digit).
bench::ScriptedRandomSource secret1234() { return bench::ScriptedRandomSource({0.15F, 0.25F, 0.35F, 0.45F}); }

// The heaviest click there is: all eight rows hold guesses and Command1 is
// still enabled, so the guess is dropped, all eight rows are rescored and the
// outcome step tests every row and shows the loss. Each iteration re-enables
// Command1 and retypes the guess (two cell writes, part of the time measured)
// because the loss disables checking and every click empties Text1.
void BM_Command1ClickFullBoard(benchmark::State& state) {
    bench::CountingMessageSink messages;
    bench::ScriptedRandomSource random = secret1234();
    game::Game game(messages, random);
    game.load();
    constexpr std::array<std::u16string_view, game::kRowCount> kGuesses = {
        u"5678", u"1243", u"4321", u"2135", u"9130", u"abcd", u"2143", u"1235"};
    for (int row = 1; row <= game::kRowCount; ++row) {
        game.board().setText(game::guessCell(row), kGuesses[static_cast<std::size_t>(row - 1)]);
    }
    for (auto _ : state) {
        game.board().setEnabled(game::Cell::Command1, true);
        game.board().enterText1(u"1234");
        benchmark::DoNotOptimize(game.click(game::Button::Command1));
    }
    if (messages.shown() != static_cast<std::size_t>(state.iterations())) {
        state.SkipWithError("every click of a full board should show exactly one message");
    }
}
BENCHMARK(BM_Command1ClickFullBoard);

// The first guess of a game: placed in row 1, eight rows scored, no outcome.
// The row is emptied again between iterations (a cell write, measured too).
void BM_Command1ClickFirstGuess(benchmark::State& state) {
    bench::CountingMessageSink messages;
    bench::ScriptedRandomSource random = secret1234();
    game::Game game(messages, random);
    game.load();
    for (auto _ : state) {
        game.board().setText(game::Cell::lbltry1, u"");
        game.board().enterText1(u"5678");
        benchmark::DoNotOptimize(game.click(game::Button::Command1));
    }
    if (messages.shown() != 0 || game.board().text(game::Cell::lbltry1) != u"5678") {
        state.SkipWithError("a first guess should be placed in row 1 without a message");
    }
}
BENCHMARK(BM_Command1ClickFirstGuess);

// A refused guess: the cheapest path, a message and Text1 emptied.
void BM_Command1ClickRepeatedDigit(benchmark::State& state) {
    bench::CountingMessageSink messages;
    bench::ScriptedRandomSource random = secret1234();
    game::Game game(messages, random);
    game.load();
    for (auto _ : state) {
        game.board().enterText1(u"1123");
        benchmark::DoNotOptimize(game.click(game::Button::Command1));
    }
    if (messages.shown() != static_cast<std::size_t>(state.iterations())) {
        state.SkipWithError("every refused guess should show a message");
    }
}
BENCHMARK(BM_Command1ClickRepeatedDigit);

}  // namespace
