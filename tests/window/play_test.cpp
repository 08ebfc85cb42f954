// Whole games and every command, played through real clicks and keystrokes.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QSet>
#include <cmath>

#include "form1_driver.h"
#include "messages.h"
#include "qt_strings.h"

namespace window::testing {
namespace {


QString titleOf(game::MessageId id) { return toQString(game::message(id).title); }
QString textOf(game::MessageId id) { return toQString(game::message(id).text); }

QString row(const QString& prefix, int n) { return prefix + QString::number(n); }

void expectOneBox(Form1Driver& driver, game::MessageId id) {
    const std::vector<SeenBox> boxes = driver.takeBoxes();
    ASSERT_EQ(boxes.size(), 1U) << "expected exactly the box " << textOf(id).toStdString();
    EXPECT_EQ(boxes[0].title, titleOf(id));
    EXPECT_EQ(boxes[0].text, textOf(id));
    EXPECT_EQ(driver.stuckBoxes(), 0);
}

void expectNoBox(Form1Driver& driver) {
    EXPECT_TRUE(driver.takeBoxes().empty());
}

void expectSecretShown(Form1Driver& driver, bool shown) {
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(driver.visible(row("lbl", k)), shown) << "lbl" << k;
    }
}

void expectEmptyRows(Form1Driver& driver) {
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(driver.text(row("lbltry", n)), "") << "row " << n;
        EXPECT_EQ(driver.text(row("bol", n)), "0") << "row " << n;
        EXPECT_EQ(driver.text(row("pgia", n)), "0") << "row " << n;
    }
}

TEST(StartState, ShowsEmptyRowsZeroCountsNoSecretAndNoCodesPanel) {
    Form1Driver driver;
    expectEmptyRows(driver);
    expectSecretShown(driver, false);
    EXPECT_FALSE(driver.visible("Frame1"));
    for (int b = 4; b <= 8; ++b) {
        EXPECT_FALSE(driver.visible(row("Command", b)));
    }
    EXPECT_TRUE(driver.enabled("Command1"));
    EXPECT_EQ(driver.text("Text1"), "");
    EXPECT_TRUE(driver.visible("Label7"));
}

TEST(StartState, LoadDrewASecretOfFourDifferentDigits) {
    Form1Driver driver;
    const QString secret = driver.secret();
    ASSERT_EQ(secret.size(), 4);
    QSet<QChar> digits;
    for (QChar digit : secret) {
        EXPECT_TRUE(digit >= '0' && digit <= '9') << secret.toStdString();
        digits.insert(digit);
    }
    EXPECT_EQ(digits.size(), 4) << secret.toStdString();
}

// A win in row N: N-1 wrong guesses, then the secret.
class WinInRow : public ::testing::TestWithParam<int> {};

TEST_P(WinInRow, RatesTheRowThenStopsCheckingAndUncoversTheSecret) {
    const int winningRow = GetParam();
    Form1Driver driver;
    const QString secret = driver.secret();
    for (int n = 1; n < winningRow; ++n) {
        driver.guess(wrongGuess(secret));
        expectNoBox(driver);
        EXPECT_EQ(driver.text(row("bol", n)), "0");
        EXPECT_EQ(driver.text(row("pgia", n)), "4");
        expectSecretShown(driver, false);
    }
    driver.guess(secret);
    const std::vector<SeenBox> boxes = driver.takeBoxes();
    ASSERT_EQ(boxes.size(), 1U);
    const game::MessageId id = game::winMessage(winningRow);
    EXPECT_EQ(boxes[0].title, titleOf(id));
    EXPECT_EQ(boxes[0].text, textOf(id));
    // While the rating is up the row is scored and the secret still hidden.
    EXPECT_EQ(boxes[0].atOpen.at(row("lbltry", winningRow)).text, secret);
    EXPECT_EQ(boxes[0].atOpen.at(row("bol", winningRow)).text, "4");
    EXPECT_FALSE(boxes[0].atOpen.at("lbl1").visible);
    EXPECT_TRUE(boxes[0].atOpen.at("Command1").enabled);

    EXPECT_FALSE(driver.enabled("Command1"));
    expectSecretShown(driver, true);
    EXPECT_EQ(driver.text("Text1"), "");

    // Checking stays off: a further guess reaches no handler.
    driver.guess(wrongGuess(secret));
    expectNoBox(driver);
    EXPECT_EQ(driver.text("Text1"), wrongGuess(secret));
}

INSTANTIATE_TEST_SUITE_P(Rows, WinInRow, ::testing::Range(1, 9));

TEST(Loss, EightWrongGuessesShowLostThenStopCheckingAndUncoverTheSecret) {
    Form1Driver driver;
    const QString secret = driver.secret();
    for (int n = 1; n <= 7; ++n) {
        driver.guess(wrongGuess(secret));
        expectNoBox(driver);
    }
    driver.guess(wrongGuess(secret));
    expectOneBox(driver, game::MessageId::Lost);
    EXPECT_FALSE(driver.enabled("Command1"));
    expectSecretShown(driver, true);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(driver.text(row("lbltry", n)), wrongGuess(secret));
    }
}

struct Refusal {
    const char* typed;
    game::MessageId message;
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << '"' << refusal.typed << '"'; }

class RefusedGuess : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedGuess, ShowsItsMessageChangesNoRowAndEmptiesText1) {
    Form1Driver driver;
    const Snapshot before = driver.snapshot();
    driver.guess(QString::fromUtf8(GetParam().typed));
    expectOneBox(driver, GetParam().message);
    Snapshot after = driver.snapshot();
    EXPECT_EQ(after.at("Text1").text, "");
    after["Text1"] = before.at("Text1");
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedGuess,
    ::testing::Values(Refusal{"", game::MessageId::NeedFourDigits},
                      Refusal{"1", game::MessageId::NeedFourDigits},
                      Refusal{"12", game::MessageId::NeedFourDigits},
                      Refusal{"123", game::MessageId::NeedFourDigits},
                      Refusal{"1123", game::MessageId::RepeatedDigit},
                      Refusal{"1231", game::MessageId::RepeatedDigit},
                      Refusal{"1233", game::MessageId::RepeatedDigit},
                      Refusal{"a  b", game::MessageId::RepeatedDigit}));

TEST(AcceptedGuess, LettersAreScoredNoBullsNoHits) {
    Form1Driver driver;
    driver.guess("abcd");
    expectNoBox(driver);
    EXPECT_EQ(driver.text("lbltry1"), "abcd");
    EXPECT_EQ(driver.text("bol1"), "0");
    EXPECT_EQ(driver.text("pgia1"), "0");
    EXPECT_EQ(driver.text("Text1"), "");
}

TEST(ShowNumber, StopsCheckingAndUncoversTheSecretWithoutAMessage) {
    Form1Driver driver;
    driver.click("Command2");
    expectNoBox(driver);
    EXPECT_FALSE(driver.enabled("Command1"));
    EXPECT_TRUE(driver.enabled("Command2"));
    expectSecretShown(driver, true);
}

struct CodesCase {
    const char* typed;
    bool greets;
};

void PrintTo(const CodesCase& codes, std::ostream* out) { *out << '"' << codes.typed << '"'; }

class CodesMode : public ::testing::TestWithParam<CodesCase> {};

TEST_P(CodesMode, DoubleClickOpensThePanelEmptiesText1AndGreetsOnlyForTheCode) {
    Form1Driver driver;
    driver.typeIntoText1(QString::fromUtf8(GetParam().typed));
    driver.doubleClickLabel6();
    const std::vector<SeenBox> boxes = driver.takeBoxes();
    if (GetParam().greets) {
        ASSERT_EQ(boxes.size(), 1U);
        EXPECT_EQ(boxes[0].title, titleOf(game::MessageId::CodesModeOn));
        EXPECT_EQ(boxes[0].text, textOf(game::MessageId::CodesModeOn));
        // The code is still in the box while the greeting is up.
        EXPECT_EQ(boxes[0].atOpen.at("Text1").text, "3838");
        EXPECT_FALSE(boxes[0].atOpen.at("Frame1").visible);
    } else {
        EXPECT_TRUE(boxes.empty());
    }
    EXPECT_EQ(driver.text("Text1"), "");
    EXPECT_TRUE(driver.visible("Frame1"));
    for (int b = 4; b <= 8; ++b) {
        EXPECT_TRUE(driver.visible(row("Command", b)));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, CodesMode,
                         ::testing::Values(CodesCase{"", false}, CodesCase{"12", false},
                                           CodesCase{"383", false}, CodesCase{"8383", false},
                                           CodesCase{"3838", true}));

TEST(CodesMode, ASingleClickOnTheCreditDoesNothing) {
    Form1Driver driver;
    driver.typeIntoText1("3838");
    const Snapshot before = driver.snapshot();
    driver.singleClickLabel6();
    expectNoBox(driver);
    EXPECT_EQ(driver.snapshot(), before);
}

TEST(CodesMode, ADoubleClickWithTheRightButtonDoesNothing) {
    Form1Driver driver;
    driver.typeIntoText1("3838");
    const Snapshot before = driver.snapshot();
    driver.doubleClickLabel6(Qt::RightButton);
    expectNoBox(driver);
    EXPECT_EQ(driver.snapshot(), before);
}

TEST(CodesMode, ASecondDoubleClickGreetsAgainAndKeepsThePanelOpen) {
    Form1Driver driver;
    driver.doubleClickLabel6();
    driver.typeIntoText1("3838");
    driver.doubleClickLabel6();
    expectOneBox(driver, game::MessageId::CodesModeOn);
    EXPECT_TRUE(driver.visible("Frame1"));
}

struct DigitButton {
    const char* button;
    const char* uncovers;
};

void PrintTo(const DigitButton& digit, std::ostream* out) { *out << digit.button; }

class SingleDigit : public ::testing::TestWithParam<DigitButton> {};

TEST_P(SingleDigit, UncoversOnlyItsDigitAndTheGameGoesOn) {
    Form1Driver driver;
    driver.doubleClickLabel6();
    driver.click(GetParam().button);
    expectNoBox(driver);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(driver.visible(row("lbl", k)), row("lbl", k) == GetParam().uncovers) << k;
    }
    EXPECT_TRUE(driver.enabled("Command1"));
}

INSTANTIATE_TEST_SUITE_P(Buttons, SingleDigit,
                         ::testing::Values(DigitButton{"Command4", "lbl1"},
                                           DigitButton{"Command5", "lbl2"},
                                           DigitButton{"Command6", "lbl3"},
                                           DigitButton{"Command7", "lbl4"}));

TEST(SingleDigit, AWiderOrNarrowerDigitKeepsTheLabelsLeftEdge) {
    Form1Driver driver;
    driver.click("Command2");
    for (int k = 1; k <= 4; ++k) {
        QWidget* label = driver.control(row("lbl", k));
        EXPECT_EQ(label->x(), (2520 + 240 * (k - 1)) / 15);
        EXPECT_EQ(label->y(), 6840 / 15);
        // The digit's whole advance, rounded up so that no part of it is cut.
        const qreal advance = QFontMetricsF(label->font(), label).horizontalAdvance(driver.text(row("lbl", k)));
        EXPECT_EQ(label->width(), static_cast<int>(std::ceil(advance)));
    }
}

TEST(Erase, EmptiesEveryRowKeepsTheTypedGuessAndTheGameGoesOnFromRowOne) {
    Form1Driver driver;
    const QString secret = driver.secret();
    driver.guess(wrongGuess(secret));
    driver.guess(wrongGuess(secret));
    driver.doubleClickLabel6();
    driver.typeIntoText1("12");
    driver.click("Command8");
    expectNoBox(driver);
    expectEmptyRows(driver);
    EXPECT_EQ(driver.text("Text1"), "12");
    driver.click("Command1");
    expectOneBox(driver, game::MessageId::NeedFourDigits);
    driver.guess(secret);
    expectOneBox(driver, game::MessageId::WinIn1);
    EXPECT_EQ(driver.text("lbltry1"), secret);
}

TEST(Erase, AfterShowNumberLeavesCheckingOffAndTheSecretShown) {
    Form1Driver driver;
    driver.click("Command2");
    driver.doubleClickLabel6();
    driver.click("Command8");
    EXPECT_FALSE(driver.enabled("Command1"));
    expectSecretShown(driver, true);
}

class NewGame : public ::testing::TestWithParam<const char*> {};

TEST_P(NewGame, FromAnyStateEmptiesRowsHidesSecretAndPanelAndChecksAgain) {
    Form1Driver driver;
    const QString secret = driver.secret();
    const std::string from = GetParam();
    driver.guess(wrongGuess(secret));
    if (from == "won") {
        driver.guess(secret);
    } else if (from == "lost") {
        for (int n = 2; n <= 8; ++n) driver.guess(wrongGuess(secret));
    } else if (from == "shown") {
        driver.click("Command2");
    } else if (from == "codes") {
        driver.doubleClickLabel6();
        driver.click("Command5");
    }
    driver.typeIntoText1("98");
    driver.takeBoxes();

    driver.click("Command3");
    expectNoBox(driver);
    expectEmptyRows(driver);
    expectSecretShown(driver, false);
    EXPECT_FALSE(driver.visible("Frame1"));
    EXPECT_TRUE(driver.enabled("Command1"));
    EXPECT_EQ(driver.text("Text1"), "");
    EXPECT_EQ(driver.secret().size(), 4);
}

INSTANTIATE_TEST_SUITE_P(States, NewGame,
                         ::testing::Values("playing", "won", "lost", "shown", "codes"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace window::testing
