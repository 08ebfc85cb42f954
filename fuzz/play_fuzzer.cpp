// libFuzzer entry: the input is a game. Its bytes choose a sequence of player
// actions (typing, clicks, the double-click, new games) and the random values
// of every secret draw; every invariant is checked after every action.
// The seeds in fuzz/corpus are inputs it found, named after what they reach;
// a change to how the input is read makes them worth finding again.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "check.h"
#include "codes_mode.h"
#include "game.h"
#include "invariants.h"
#include "scripted_world.h"

namespace {

using game::Button;
using game::Cell;
using game::MessageId;

// One character as the player might produce it, chosen to reach the corners
// of text handling: controls, direction marks, surrogates alone and paired.
std::u16string typedCharacter(FuzzedDataProvider& input) {
    enum class Kind {
        AnyUnit, Digit, RightToLeftMark, RightToLeftOverride, Nul, LoneHigh, LoneLow,
        SurrogatePair, HebrewLetter, AsciiLetterOrSpace, kMaxValue = AsciiLetterOrSpace
    };
    const auto n = input.ConsumeIntegral<std::uint8_t>();
    switch (input.ConsumeEnum<Kind>()) {
        case Kind::AnyUnit: return {static_cast<char16_t>(input.ConsumeIntegral<std::uint16_t>())};
        case Kind::Digit: return {static_cast<char16_t>(u'0' + n % 10)};
        case Kind::RightToLeftMark: return u"\u200F";
        case Kind::RightToLeftOverride: return u"\u202E";
        case Kind::Nul: return {u'\0'};
        case Kind::LoneHigh: return {static_cast<char16_t>(0xD800 + n * 4)};
        case Kind::LoneLow: return {static_cast<char16_t>(0xDC00 + n * 4)};
        case Kind::SurrogatePair: return {static_cast<char16_t>(0xD83C + n % 4), static_cast<char16_t>(0xDC00 + n)};
        case Kind::HebrewLetter: return {static_cast<char16_t>(u'\u05D0' + n % 27)};
        case Kind::AsciiLetterOrSpace: return {static_cast<char16_t>(n % 2 ? u' ' : u'a' + n % 26)};
    }
    return {};
}

// A pasted text: up to eight characters, or the access code.
std::u16string pastedText(FuzzedDataProvider& input) {
    if (input.ConsumeBool()) {
        return std::u16string(game::kAccessCode);
    }
    std::u16string text;
    const auto length = input.ConsumeIntegralInRange<int>(0, 8);
    for (int i = 0; i < length; ++i) {
        text += typedCharacter(input);
    }
    return text;
}

// A guess made of the secret's own digits in some order, one of them perhaps
// replaced by a digit the secret lacks: a valid guess that wins or comes
// close, so that wins and losses in every row are within the fuzzer's reach.
std::u16string guessFromSecret(FuzzedDataProvider& input, const game::Board& board) {
    std::u16string secret;
    for (int position = 1; position <= game::kSecretLength; ++position) {
        secret += board.text(game::secretCell(position));
    }
    std::u16string guess = secret;
    for (std::size_t i = guess.size(); i > 1; --i) {
        std::swap(guess[i - 1], guess[input.ConsumeIntegralInRange<std::size_t>(0, i - 1)]);
    }
    if (input.ConsumeBool() && !guess.empty()) {
        std::u16string others;
        for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
            if (secret.find(digit) == std::u16string::npos) {
                others += digit;
            }
        }
        if (!others.empty()) {
            guess[input.ConsumeIntegralInRange<std::size_t>(0, guess.size() - 1)] =
                others[input.ConsumeIntegralInRange<std::size_t>(0, others.size() - 1)];
        }
    }
    return guess;
}

bool isOutcome(MessageId id) {
    return id == MessageId::Lost ||
           (static_cast<int>(id) >= static_cast<int>(MessageId::WinIn1) &&
            static_cast<int>(id) <= static_cast<int>(MessageId::WinIn8));
}

bool hasDifferentCharacters(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        for (std::size_t j = i + 1; j < text.size(); ++j) {
            if (text[i] == text[j]) {
                return false;
            }
        }
    }
    return true;
}

void checkAttemptRowsEmpty(const game::Board& board) {
    for (int row = 1; row <= game::kRowCount; ++row) {
        FUZZ_CHECK(board.text(game::guessCell(row)).empty() &&
                       board.text(game::bullsCell(row)) == u"0" &&
                       board.text(game::hitsCell(row)) == u"0",
                   "an emptied row has no guess and counts 0 and 0");
    }
}

// The typed text replaces Text1 cut to what fits: a prefix, at most 4 units.
void type(game::Board& board, const std::u16string& typed) {
    const std::u16string& held = board.enterText1(typed);
    FUZZ_CHECK(held.size() <= game::kText1MaxLength && typed.starts_with(held),
               "Text1 keeps the start of what was typed");
    if (typed.size() <= game::kText1MaxLength) {
        FUZZ_CHECK(held == typed, "text that fits is kept whole");
    } else {
        // One unit fewer only where the cut would split a surrogate pair.
        FUZZ_CHECK(held.size() == game::kText1MaxLength ||
                       (held.size() == game::kText1MaxLength - 1 && typed[3] >= 0xD800 &&
                        typed[3] <= 0xDBFF && typed[4] >= 0xDC00 && typed[4] <= 0xDFFF),
                   "a long text is cut to 4 units, 3 rather than split a pair");
    }
}

// What the Click of Command1 promises beyond the invariants of the board.
void checkCommand1(const fuzz::Snapshot& before, const game::Board& board,
                   const std::vector<MessageId>& shown) {
    const std::u16string& guess = before.text(Cell::Text1);
    FUZZ_CHECK(board.text(Cell::Text1).empty(), "every click of Command1 empties Text1");
    int outcomes = 0;
    for (const MessageId id : shown) {
        outcomes += isOutcome(id) ? 1 : 0;
    }
    FUZZ_CHECK(outcomes <= 1, "at most one outcome message per click");

    const bool accepted = guess.size() == 4 && hasDifferentCharacters(guess);
    if (!accepted) {
        const MessageId refusal = guess.size() != 4 ? MessageId::NeedFourDigits : MessageId::RepeatedDigit;
        FUZZ_CHECK(shown.size() == 1 && shown[0] == refusal, "a refused guess shows its one reason");
    }
    int usedBefore = 0;
    for (int row = 1; row <= game::kRowCount; ++row) {
        usedBefore += before.text(game::guessCell(row)).empty() ? 0 : 1;
    }
    for (int row = 1; row <= game::kRowCount; ++row) {
        const bool placedHere = accepted && row == usedBefore + 1;
        FUZZ_CHECK(board.text(game::guessCell(row)) == (placedHere ? guess : before.text(game::guessCell(row))),
                   "an accepted guess goes into the first empty row and nothing else moves");
    }
    if (outcomes == 1) {
        FUZZ_CHECK(!board.enabled(Cell::Command1), "an outcome ends the game");
    } else {
        FUZZ_CHECK(board.enabled(Cell::Command1), "a click without an outcome keeps the game going");
    }
}

// Clicks `button`, whether or not it can be clicked, and checks the result.
void click(game::Game& game, fuzz::AutoDismissSink& messages, Button button) {
    const game::Board& board = game.board();
    const fuzz::Snapshot before(board);
    const bool clickable = board.canBeClicked(button);
    const bool ran = game.click(button);
    FUZZ_CHECK(ran == clickable, "a click runs its handler exactly when the button can be clicked");
    if (!ran) {
        FUZZ_CHECK(fuzz::Snapshot(board) == before && messages.shown().empty(),
                   "a click on a button that cannot be clicked changes nothing");
        return;
    }
    switch (button) {
        case Button::Command1:
            checkCommand1(before, board, messages.shown());
            break;
        case Button::Command2:
            FUZZ_CHECK(!board.enabled(Cell::Command1), "showing the number ends the game");
            break;
        case Button::Command3:
            FUZZ_CHECK(board.enabled(Cell::Command1) && !board.visible(Cell::Frame1) &&
                           board.text(Cell::Text1).empty(),
                       "a new game enables checking, closes codes mode and empties Text1");
            for (int position = 1; position <= game::kSecretLength; ++position) {
                FUZZ_CHECK(!board.visible(game::secretCell(position)), "a new game hides the secret");
            }
            checkAttemptRowsEmpty(board);
            break;
        case Button::Command4:
        case Button::Command5:
        case Button::Command6:
        case Button::Command7: {
            const int position = static_cast<int>(button) - static_cast<int>(Button::Command4) + 1;
            FUZZ_CHECK(board.visible(game::secretCell(position)), "a digit button uncovers its digit");
            break;
        }
        case Button::Command8:
            checkAttemptRowsEmpty(board);
            FUZZ_CHECK(board.enabled(Cell::Command1) == before.cells[static_cast<std::size_t>(Cell::Command1)].enabled,
                       "erasing the attempts leaves the state of play alone");
            break;
    }
    if (button != Button::Command1) {
        FUZZ_CHECK(messages.shown().empty(), "only the check and the double-click show messages");
    }
}

void doubleClickLabel6(game::Game& game, fuzz::AutoDismissSink& messages) {
    const bool accessCode = game.board().text(Cell::Text1) == game::kAccessCode;
    game.doubleClickLabel6();
    const bool greeted = messages.shown().size() == 1 && messages.shown()[0] == MessageId::CodesModeOn;
    FUZZ_CHECK(greeted == accessCode && messages.shown().size() <= 1,
               "the greeting comes exactly when Text1 holds the access code");
    FUZZ_CHECK(game.board().text(Cell::Text1).empty() && game.board().visible(Cell::Frame1),
               "the double-click empties Text1 and opens codes mode");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enum class Action {
        Paste, Keystroke, TypeFromSecret, Click, DoubleClickLabel6, NewGame,
        kMaxValue = NewGame
    };
    // Long enough for whole games, short enough to keep every run quick.
    constexpr int kMaxActions = 256;

    FuzzedDataProvider input(data, size);
    fuzz::InputRandomSource random(input);
    fuzz::AutoDismissSink messages;
    game::Game game(messages, random);
    messages.watch(game.board());
    game::Board& board = game.board();

    game.load();
    fuzz::checkBoard(board);
    for (int step = 0; step < kMaxActions && input.remaining_bytes() > 0; ++step) {
        messages.clear();
        switch (input.ConsumeEnum<Action>()) {
            case Action::Paste:
                type(board, pastedText(input));
                break;
            case Action::Keystroke: {
                // The box refuses a keystroke once it is full, before the
                // board sees it; the board only ever gets the edited text.
                const std::u16string before = board.text(Cell::Text1);
                if (before.size() < game::kText1MaxLength) {
                    type(board, before + typedCharacter(input));
                }
                break;
            }
            case Action::TypeFromSecret:
                type(board, guessFromSecret(input, board));
                break;
            case Action::Click:
                click(game, messages, static_cast<Button>(input.ConsumeIntegralInRange<int>(0, game::kButtonCount - 1)));
                break;
            case Action::DoubleClickLabel6:
                doubleClickLabel6(game, messages);
                break;
            case Action::NewGame:
                click(game, messages, Button::Command3);
                break;
        }
        fuzz::checkBoard(board);
    }
    return 0;
}
