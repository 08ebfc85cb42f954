// The twelve messages, word for word as the player sees them.
#include "messages.h"

#include <cassert>

namespace game {

namespace {

constexpr std::u16string_view kTitleGreatWin = u"טוב אחי - ניצחון";
constexpr std::u16string_view kTitleWin = u"ניצחון";
constexpr std::u16string_view kTitleError = u"שגיעה";

constexpr std::array<Message, kMessageCount> kCatalogue = {{
    {MessageId::WinIn1, kTitleGreatWin,
     u"שמע אחי! אתה תותח סימת את המשחק בניחוש אחד יש לך את זה, ורואים", 0},
    {MessageId::WinIn2, kTitleGreatWin, u"שמע אחי! אתה מתקרב למושלמות - שני נחושים", 0},
    {MessageId::WinIn3, kTitleWin, u"שלושה נחושים - אתה מתקרב למושלמות", 0},
    {MessageId::WinIn4, kTitleWin, u"ארבעה נחושים - יש לך עתיד אם תתמיד", 0},
    {MessageId::WinIn5, kTitleWin, u"חמישה נחושים - זה בהחלט לא רע", 0},
    {MessageId::WinIn6, kTitleWin, u"ששה נחושים - זה בהחלט סביר", 0},
    {MessageId::WinIn7, kTitleWin, u"שבעה נחושים - זה לא רע אבל אי אפשר להגיד שזה טוב", 0},
    {MessageId::WinIn8, kTitleWin, u"שמונה נחושים - תשתפר ומהר", 0},
    {MessageId::Lost, u"לוזר", u"או שתתאמן או שתפרוש", 0},
    {MessageId::NeedFourDigits, kTitleError, u"אתה חייב לכתוב ארבעה מספרים", 0},
    {MessageId::RepeatedDigit, kTitleError, u"כתבת את אותו המספר פעמיים", 0},
    {MessageId::CodesModeOn, u"פלוטרי", u"אתה במצב קודים עכשיו-אז תהנה", 0},
}};

constexpr bool catalogueFollowsIds() {
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        if (static_cast<std::size_t>(kCatalogue[i].id) != i) {
            return false;
        }
    }
    return true;
}

static_assert(catalogueFollowsIds(), "the catalogue must list the messages in MessageId order");

}  // namespace

const Message& message(MessageId id) { return kCatalogue.at(static_cast<std::size_t>(id)); }

MessageId winMessage(int row) {
    assert(row >= 1 && row <= 8);
    return static_cast<MessageId>(static_cast<int>(MessageId::WinIn1) + row - 1);
}

}  // namespace game
