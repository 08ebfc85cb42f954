// The catalogue of every notice the game gives the player, and the interface
// through which the rules show one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace game {

enum class MessageId {
    WinIn1, WinIn2, WinIn3, WinIn4, WinIn5, WinIn6, WinIn7, WinIn8,
    Lost,
    NeedFourDigits,
    RepeatedDigit,
    CodesModeOn,
};

inline constexpr std::size_t kMessageCount = static_cast<std::size_t>(MessageId::CodesModeOn) + 1;

struct Message {
    MessageId id;
    std::u16string_view title;
    std::u16string_view text;
    // Always 0: one OK button, no icon, modal to the application.
    std::int32_t style;
};

// The catalogue entry of `id`.
const Message& message(MessageId id);

// The rating of a win whose four bulls stand in `row`, 1 <= row <= 8.
MessageId winMessage(int row);

// Shows a message of the catalogue and returns only once the player has
// dismissed it, however it was closed.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(MessageId id) = 0;
};

}  // namespace game
