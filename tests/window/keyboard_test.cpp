// Focus, Tab order, Enter/Esc and what the guess box accepts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "form1_driver.h"

namespace window::testing {
namespace {

QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

// Starting in Text1, the names Tab visits until it comes back to Text1.
QStringList tabCycle(Form1Driver& driver) {
    QStringList visited;
    driver.control("Text1")->setFocus(Qt::TabFocusReason);
    for (int step = 0; step < 20; ++step) {
        driver.pressKey(Qt::Key_Tab);
        if (focusName() == "Text1") {
            return visited;
        }
        visited << focusName();
    }
    ADD_FAILURE() << "Tab never came back to Text1";
    return visited;
}

TEST(Focus, StartsInText1SoThePlayerCanTypeAtOnce) {
    Form1Driver driver;
    EXPECT_EQ(focusName(), "Text1");
    QTest::keyClicks(QApplication::focusWidget(), "12");
    EXPECT_EQ(driver.text("Text1"), "12");
}

TEST(TabOrder, SkipsTheCodesButtonsWhileThePanelIsHidden) {
    Form1Driver driver;
    EXPECT_EQ(tabCycle(driver), QStringList({"Command1", "Command2", "Command3"}));
}

TEST(TabOrder, ReachesTheCodesButtonsWhileThePanelIsShownAndSkipsThemAfterANewGame) {
    Form1Driver driver;
    driver.doubleClickLabel6();
    EXPECT_EQ(tabCycle(driver), QStringList({"Command1", "Command2", "Command3", "Command4",
                                             "Command5", "Command6", "Command7", "Command8"}));
    driver.click("Command3");
    EXPECT_EQ(tabCycle(driver), QStringList({"Command1", "Command2", "Command3"}));
}

class KeyInText1 : public ::testing::TestWithParam<Qt::Key> {};

TEST_P(KeyInText1, ChecksNothingAndChangesNothing) {
    Form1Driver driver;
    driver.typeIntoText1("1");  // a refused guess would show a box
    driver.control("Text1")->setFocus();
    const Snapshot before = driver.snapshot();
    driver.pressKey(GetParam());
    EXPECT_TRUE(driver.takeBoxes().empty());
    EXPECT_EQ(driver.snapshot(), before);
    EXPECT_TRUE(driver.form().isVisible());
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyInText1,
                         ::testing::Values(Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape));

TEST(KeyOnCommand1, EnterDoesNotClickButSpaceDoes) {
    Form1Driver driver;
    driver.typeIntoText1("1");
    driver.control("Command1")->setFocus();
    driver.pressKey(Qt::Key_Return);
    EXPECT_TRUE(driver.takeBoxes().empty());
    EXPECT_EQ(driver.text("Text1"), "1");
    driver.pressKey(Qt::Key_Space);
    EXPECT_EQ(driver.takeBoxes().size(), 1U);
    EXPECT_EQ(driver.text("Text1"), "");
}

struct Entry {
    const char* name;
    QString typedOrPasted;
    bool paste;
    QString kept;
};

void PrintTo(const Entry& entry, std::ostream* out) { *out << entry.name; }

class Text1Keeps : public ::testing::TestWithParam<Entry> {};

TEST_P(Text1Keeps, AtMostFourCharactersAndTheCheckReadsWhatIsShown) {
    Form1Driver driver;
    auto* text1 = static_cast<QLineEdit*>(driver.control("Text1"));
    text1->setFocus();
    if (GetParam().paste) {
        QApplication::clipboard()->setText(GetParam().typedOrPasted);
        QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier);
    } else {
        driver.typeIntoText1(GetParam().typedOrPasted);
    }
    EXPECT_EQ(text1->text(), GetParam().kept);
    EXPECT_EQ(QString::fromStdU16String(driver.form().board().text(game::Cell::Text1)),
              GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, Text1Keeps,
    ::testing::Values(Entry{"PasteOfFiveDigits", "12345", true, "1234"},
                      Entry{"FifthKeystroke", "98765", false, "9876"},
                      Entry{"LettersAndSpaces", "a b", false, "a b"},
                      Entry{"Hebrew", QString::fromUtf8("אבגד"), false, QString::fromUtf8("אבגד")},
                      // The fourth unit is half of a pair: the box must not keep it.
                      Entry{"PasteCuttingASurrogatePair", QString::fromUtf8("123\xF0\x9F\x98\x80"),
                            true, "123"}),
    [](const ::testing::TestParamInfo<Entry>& info) { return std::string(info.param.name); });

// Each keystroke goes to the Board and comes back equal: the box must not be
// written again, which would move the cursor to the end.
TEST(Text1, TypingBeforeTheTextKeepsTheCursorWhereThePlayerPutIt) {
    Form1Driver driver;
    driver.typeIntoText1("12");
    driver.pressKey(Qt::Key_Home);
    driver.typeIntoText1("34");
    EXPECT_EQ(driver.text("Text1"), "3412");
}

TEST(Text1, APastedFiveDigitGuessIsCheckedAsItsFirstFour) {
    Form1Driver driver;
    auto* text1 = driver.control("Text1");
    text1->setFocus();
    QApplication::clipboard()->setText("12345");
    QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier);
    driver.click("Command1");
    EXPECT_EQ(driver.text("lbltry1"), "1234");
}

}  // namespace
}  // namespace window::testing
