// The message boxes as the player sees them: exact words, one OK, no icon,
// modal, and the handler waits until the box is closed, however it is closed.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QTimer>

#include "form1_driver.h"
#include "messages.h"
#include "qt_message_box.h"
#include "qt_strings.h"

namespace window::testing {
namespace {


class EveryMessage : public ::testing::TestWithParam<int> {};

TEST_P(EveryMessage, ShowsExactTitleAndTextWithOneOkAndNoIcon) {
    const auto id = static_cast<game::MessageId>(GetParam());
    Form1Driver driver;
    QtMessageBox messages(driver.form());
    SeenBox seen;
    bool found = false;
    bool stuck = false;
    bool closed = false;
    // The box is read and closed from a timer because show() blocks. Local
    // timers: none may fire after this test has returned.
    QTimer reader;
    reader.setSingleShot(true);
    QObject::connect(&reader, &QTimer::timeout, [&] {
        QMessageBox* box = openBox();
        if (box == nullptr) {
            return;  // show() returns immediately or never opened: caught below
        }
        found = true;
        seen = readBox(*box);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Ok));
        closed = true;
        box->close();
    });
    // A deadline that closes whatever is left open, so a box that ignores
    // closing fails the test instead of hanging it.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        if (QMessageBox* box = openBox()) {
            stuck = true;
            box->hide();
        }
    });
    reader.start(20);
    deadline.start(5000);
    messages.show(id);
    ASSERT_TRUE(found) << "no message box was open while show() ran";
    EXPECT_TRUE(closed);
    EXPECT_FALSE(stuck);
    const game::Message& message = game::message(id);
    EXPECT_EQ(seen.title, toQString(message.title));
    EXPECT_EQ(seen.text, toQString(message.text));
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen.buttonCount, 1);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_TRUE(seen.iconPixmapNull);
    EXPECT_TRUE(seen.okButtonIconNull);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryMessage,
                         ::testing::Range(0, static_cast<int>(game::kMessageCount)));

class DismissedHowever : public ::testing::TestWithParam<Dismissal> {};

TEST_P(DismissedHowever, TheRefusalHandlerGoesOnAndEmptiesText1) {
    Form1Driver driver;
    driver.setDismissal(GetParam());
    driver.guess("12");
    ASSERT_EQ(driver.takeBoxes().size(), 1U);
    EXPECT_EQ(driver.stuckBoxes(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(driver.text("Text1"), "");
}

TEST_P(DismissedHowever, TheWinHandlerGoesOnAndEndsTheGame) {
    Form1Driver driver;
    driver.setDismissal(GetParam());
    driver.guess(driver.secret());
    ASSERT_EQ(driver.takeBoxes().size(), 1U);
    EXPECT_EQ(driver.stuckBoxes(), 0);
    EXPECT_FALSE(driver.enabled("Command1"));
    EXPECT_TRUE(driver.visible("lbl4"));
}

INSTANTIATE_TEST_SUITE_P(Ways, DismissedHowever,
                         ::testing::Values(Dismissal::ClickOk, Dismissal::PressEnter,
                                           Dismissal::PressEscape, Dismissal::CloseWindow));

// Every box the driver sees was tried with clicks on "חדש" and "מה המספר"
// while open; the board must not have moved.
struct OpenBoxCase {
    const char* name;
    std::function<void(Form1Driver&)> play;
};

void PrintTo(const OpenBoxCase& box, std::ostream* out) { *out << box.name; }

class WhileABoxIsOpen : public ::testing::TestWithParam<OpenBoxCase> {};

TEST_P(WhileABoxIsOpen, NoCellChangesAndTheBoardTakesNoClick) {
    Form1Driver driver;
    GetParam().play(driver);
    const std::vector<SeenBox> boxes = driver.takeBoxes();
    ASSERT_FALSE(boxes.empty());
    for (const SeenBox& box : boxes) {
        EXPECT_EQ(box.beforeClose, box.atOpen) << box.text.toStdString();
        EXPECT_EQ(box.modality, Qt::ApplicationModal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, WhileABoxIsOpen,
    ::testing::Values(
        OpenBoxCase{"Refusal", [](Form1Driver& d) { d.guess("1"); }},
        OpenBoxCase{"Win", [](Form1Driver& d) { d.guess(d.secret()); }},
        OpenBoxCase{"Loss",
                    [](Form1Driver& d) {
                        for (int n = 1; n <= 8; ++n) d.guess(wrongGuess(d.secret()));
                    }},
        OpenBoxCase{"Greeting",
                    [](Form1Driver& d) {
                        d.typeIntoText1("3838");
                        d.doubleClickLabel6();
                    }}),
    [](const ::testing::TestParamInfo<OpenBoxCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace window::testing
