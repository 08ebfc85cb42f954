// The message catalogue: the exact words the player reads.
#include "messages.h"

#include <gtest/gtest.h>

#include <string>

namespace game {
namespace {

struct Expected {
    MessageId id;
    std::u16string title;
    std::u16string text;
    std::size_t textLength;  // in UTF-16 code units, counted independently
};

class Catalogue : public ::testing::TestWithParam<Expected> {};

TEST_P(Catalogue, HoldsTheExactTitleAndText) {
    const Message& shown = message(GetParam().id);
    EXPECT_EQ(shown.id, GetParam().id);
    EXPECT_EQ(shown.title, GetParam().title);
    EXPECT_EQ(shown.text, GetParam().text);
    EXPECT_EQ(shown.text.size(), GetParam().textLength);
    EXPECT_EQ(shown.style, 0);
    EXPECT_NE(shown.text.front(), u' ');
    EXPECT_NE(shown.text.back(), u' ');
    EXPECT_EQ(std::u16string(shown.text).find(u"  "), std::u16string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, Catalogue,
    ::testing::Values(
        Expected{MessageId::WinIn1, u"טוב אחי - ניצחון",
                 u"שמע אחי! אתה תותח סימת את המשחק בניחוש אחד יש לך את זה, ורואים", 62},
        Expected{MessageId::WinIn2, u"טוב אחי - ניצחון", u"שמע אחי! אתה מתקרב למושלמות - שני נחושים", 40},
        Expected{MessageId::WinIn3, u"ניצחון", u"שלושה נחושים - אתה מתקרב למושלמות", 33},
        Expected{MessageId::WinIn4, u"ניצחון", u"ארבעה נחושים - יש לך עתיד אם תתמיד", 34},
        Expected{MessageId::WinIn5, u"ניצחון", u"חמישה נחושים - זה בהחלט לא רע", 29},
        Expected{MessageId::WinIn6, u"ניצחון", u"ששה נחושים - זה בהחלט סביר", 26},
        Expected{MessageId::WinIn7, u"ניצחון", u"שבעה נחושים - זה לא רע אבל אי אפשר להגיד שזה טוב", 48},
        Expected{MessageId::WinIn8, u"ניצחון", u"שמונה נחושים - תשתפר ומהר", 25},
        Expected{MessageId::Lost, u"לוזר", u"או שתתאמן או שתפרוש", 19},
        Expected{MessageId::NeedFourDigits, u"שגיעה", u"אתה חייב לכתוב ארבעה מספרים", 27},
        Expected{MessageId::RepeatedDigit, u"שגיעה", u"כתבת את אותו המספר פעמיים", 25},
        Expected{MessageId::CodesModeOn, u"פלוטרי", u"אתה במצב קודים עכשיו-אז תהנה", 28}),
    [](const auto& info) { return std::to_string(static_cast<int>(info.param.id)); });

TEST(WinMessage, RatesEachRowWithItsOwnMessage) {
    for (int row = 1; row <= 8; ++row) {
        EXPECT_EQ(static_cast<int>(winMessage(row)), static_cast<int>(MessageId::WinIn1) + row - 1);
    }
    EXPECT_EQ(winMessage(8), MessageId::WinIn8);
}

}  // namespace
}  // namespace game
