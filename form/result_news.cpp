// The result sentences, worded with the accessible names' own words.
#include "result_news.h"

#include <string_view>

#include "accessible_names.h"

namespace form {

namespace {

constexpr std::u16string_view kSeparator = u". ";

std::u16string labelled(std::u16string name, std::u16string_view value) {
    name += u": ";
    name += value;
    return name;
}

std::u16string counted(std::string_view family, const std::u16string& count) {
    std::u16string text(familyWord(family));
    text += u' ';
    text += count;
    return text;
}

bool filled(const game::Board& board, int row) {
    return !board.text(game::guessCell(row)).empty();
}

void append(std::u16string& news, std::u16string_view sentence) {
    if (!news.empty()) {
        news += kSeparator;
    }
    news += sentence;
}

}  // namespace

std::u16string rowSentence(const game::Board& board, int row) {
    const std::string guessControl(game::cellName(game::guessCell(row)));
    std::u16string sentence = labelled(accessibleName(guessControl), board.text(game::guessCell(row)));
    sentence += u", ";
    sentence += counted("bol", board.text(game::bullsCell(row)));
    sentence += u", ";
    sentence += counted("pgia", board.text(game::hitsCell(row)));
    return sentence;
}

std::u16string secretSentence(const game::Board& board) {
    std::u16string digits;
    for (int position = 1; position <= game::kSecretLength; ++position) {
        digits += board.text(game::secretCell(position));
    }
    return labelled(accessibleName("Label7"), digits);
}

ResultNews::ResultNews(const game::Board& before) {
    for (int row = 1; row <= game::kRowCount; ++row) {
        rowFilled_[row - 1] = filled(before, row);
    }
    for (int position = 1; position <= game::kSecretLength; ++position) {
        digitShown_[position - 1] = before.visible(game::secretCell(position));
    }
}

std::u16string ResultNews::since(const game::Board& after) const {
    std::u16string news;
    for (int row = 1; row <= game::kRowCount; ++row) {
        if (!rowFilled_[row - 1] && filled(after, row)) {
            append(news, rowSentence(after, row));
        }
    }
    bool allShown = true;
    bool anyAppeared = false;
    for (int position = 1; position <= game::kSecretLength; ++position) {
        const bool shown = after.visible(game::secretCell(position));
        allShown = allShown && shown;
        anyAppeared = anyAppeared || (shown && !digitShown_[position - 1]);
    }
    if (allShown && anyAppeared) {
        append(news, secretSentence(after));
        return news;
    }
    for (int position = 1; position <= game::kSecretLength; ++position) {
        const game::Cell digit = game::secretCell(position);
        if (after.visible(digit) && !digitShown_[position - 1]) {
            append(news, labelled(accessibleName(game::cellName(digit)), after.text(digit)));
        }
    }
    return news;
}

}  // namespace form
