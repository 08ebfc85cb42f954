// Prints, as JSON on stdout, what the scenarios played from outside must find
// on the screen, taken from the game's and the form's own tables: the
// notices, the window's title, the access code, how much the guess box holds,
// every control's place, caption and accessible name, and the sentences a
// screen reader is told.
// tests/vocabulary.py reads it, so that no test types these texts again.
#include <iostream>
#include <string>
#include <string_view>

#include "accessible_names.h"
#include "board.h"
#include "cell.h"
#include "codes_mode.h"
#include "layout.h"
#include "messages.h"
#include "result_news.h"
#include "utf8.h"

namespace {

// `text` as a JSON string, UTF-8.
std::string quoted(std::u16string_view text) {
    std::string out = "\"";
    for (const char c : form::utf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr std::string_view kHex = "0123456789abcdef";
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string quoted(std::string_view ascii) {
    return quoted(std::u16string(ascii.begin(), ascii.end()));
}

std::string notice(game::MessageId id) {
    const game::Message& shown = game::message(id);
    return "{\"title\": " + quoted(shown.title) + ", \"text\": " + quoted(shown.text) + "}";
}

std::string_view kindName(form::Kind kind) {
    switch (kind) {
        case form::Kind::Button: return "button";
        case form::Kind::TextBox: return "text box";
        case form::Kind::Frame: return "frame";
        case form::Kind::Label: return "label";
        case form::Kind::Line: return "line";
    }
    return "";
}

std::string control(const form::Control& row) {
    const form::PixelRect place = form::pixelRect(row);
    return "{\"name\": " + quoted(row.name) + ", \"kind\": " + quoted(kindName(row.kind)) +
           ", \"parent\": " + quoted(row.parent) + ", \"rect\": [" + std::to_string(place.left) +
           ", " + std::to_string(place.top) + ", " + std::to_string(place.width) + ", " +
           std::to_string(place.height) + "], \"caption\": " + quoted(row.caption) +
           ", \"accessible_name\": " + quoted(form::accessibleName(row.name)) +
           ", \"autosize\": " + (row.has(form::AutoSize) ? "true" : "false") + "}";
}

// The sentence of row `row` with the places of the guess and its counts
// marked {guess}, {bulls} and {hits}.
std::string rowSentence(int row) {
    game::Board board;
    board.setText(game::guessCell(row), u"{guess}");
    board.setText(game::bullsCell(row), u"{bulls}");
    board.setText(game::hitsCell(row), u"{hits}");
    return quoted(form::rowSentence(board, row));
}

std::string secretSentence() {
    game::Board board;
    board.setText(game::secretCell(1), u"{secret}");
    for (int position = 2; position <= game::kSecretLength; ++position) {
        board.setText(game::secretCell(position), u"");
    }
    return quoted(form::secretSentence(board));
}

}  // namespace

int main() {
    std::cout << "{\"window_title\": " << quoted(form::kForm1Caption)
              << ",\n \"access_code\": " << quoted(game::kAccessCode)
              << ",\n \"guess_box_length\": " << game::kText1MaxLength << ",\n \"wins\": [";
    for (int row = 1; row <= game::kRowCount; ++row) {
        std::cout << (row > 1 ? ",\n   " : "") << notice(game::winMessage(row));
    }
    std::cout << "],\n \"lost\": " << notice(game::MessageId::Lost)
              << ",\n \"need_four_digits\": " << notice(game::MessageId::NeedFourDigits)
              << ",\n \"repeated_digit\": " << notice(game::MessageId::RepeatedDigit)
              << ",\n \"codes_mode_on\": " << notice(game::MessageId::CodesModeOn)
              << ",\n \"row_sentences\": [";
    for (int row = 1; row <= game::kRowCount; ++row) {
        std::cout << (row > 1 ? ", " : "") << rowSentence(row);
    }
    std::cout << "],\n \"secret_sentence\": " << secretSentence() << ",\n \"controls\": [";
    bool first = true;
    for (const form::Control& row : form::kLayout) {
        std::cout << (first ? "\n   " : ",\n   ") << control(row);
        first = false;
    }
    std::cout << "]}\n";
    return 0;
}
