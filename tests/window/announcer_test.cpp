// What a screen reader is told after each event, read where Qt hands it to
// the platform's accessibility bridge.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include <optional>

#include "announcer.h"
#include "form1_driver.h"
#include "qt_strings.h"
#include "result_news.h"

namespace window::testing {
namespace {

QStringList heard;
// Each label's caption change, as "name: position -removed +inserted".
QStringList captionChanges;

void listen(QAccessibleEvent* event) {
    if (std::optional<QString> sentence = announcedSentence(*event)) {
        heard << *sentence;
    }
    if (event->type() == QAccessible::TextUpdated && qobject_cast<QLabel*>(event->object())) {
        const auto* update = static_cast<QAccessibleTextUpdateEvent*>(event);
        captionChanges << QStringLiteral("%1: %2 -%3 +%4")
                              .arg(event->object()->objectName())
                              .arg(update->changePosition())
                              .arg(update->textRemoved(), update->textInserted());
    }
}

// Runs with Qt's accessibility bridge on (QT_LINUX_ACCESSIBILITY_ALWAYS_ON
// and an accessibility bus on a private session bus): what it would send
// is heard here instead.
class Announcements : public ::testing::Test {
protected:
    void SetUp() override {
        // A bare session bus starts the accessibility bus only when asked
        // for its address; Qt waits for it to appear and never asks.
        QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
            "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        QElapsedTimer waited;
        waited.start();
        while (!QAccessible::isActive() && waited.elapsed() < kBridgeDeadlineMs) {
            QTest::qWait(20);
        }
        ASSERT_TRUE(QAccessible::isActive()) << "Qt's accessibility did not come on";
        heard.clear();
        captionChanges.clear();
        previous_ = QAccessible::installUpdateHandler(listen);
    }
    void TearDown() override { QAccessible::installUpdateHandler(previous_); }

private:
    static constexpr int kBridgeDeadlineMs = 10000;
    QAccessible::UpdateHandler previous_ = nullptr;
};

void putIntoText1(Form1Driver& driver, const QString& text) {
    static_cast<QLineEdit*>(driver.control("Text1"))->setText(text);
}

QString row1(Form1Driver& driver) { return toQString(form::rowSentence(driver.form().board(), 1)); }
QString secret(Form1Driver& driver) { return toQString(form::secretSentence(driver.form().board())); }

TEST_F(Announcements, EachEventThatShowsAResultSaysItWholeOnceAndNothingElseIsSaid) {
    struct Case {
        const char* what;
        QString typed;  // put into Text1 as an assistive tool puts it
        const char* button;
        QString (*said)(Form1Driver&);  // null: nothing is said
    };
    for (const Case& c : {
             Case{"a guess", "1234", "Command1", row1},
             Case{"a guess refused with a box", "12", "Command1", nullptr},
             Case{"the secret shown", "", "Command2", secret},
             Case{"a right-to-left mark, a surrogate pair", QString::fromUtf8("\u200F\U0001F600" "1"),
                  "Command1", row1},
         }) {
        Form1Driver driver;
        putIntoText1(driver, c.typed);
        heard.clear();
        driver.click(c.button);
        const QString all = heard.join(" | ");
        EXPECT_EQ(heard, c.said ? QStringList{c.said(driver)} : QStringList{}) << c.what << ": " << all.toStdString();
        if (c.said == row1) {
            EXPECT_TRUE(all.contains(c.typed)) << c.what;
        }
        // Whole characters only: it goes to the screen reader as UTF-8.
        EXPECT_EQ(QString::fromUtf8(all.toUtf8()), all) << c.what;
    }
}

// A screen reader reading a cell as it changes is told that the whole old
// caption went and the whole new one came, from the caption's start.
TEST_F(Announcements, ACellsNewCaptionReplacesItsWholeTextFromTheStart) {
    Form1Driver driver;
    putIntoText1(driver, QStringLiteral("1234"));
    captionChanges.clear();
    driver.click("Command1");
    EXPECT_TRUE(captionChanges.contains(QStringLiteral("lbltry1: 0 - +1234")))
        << captionChanges.join(" | ").toStdString();
    // A new game draws its secret into hidden digits: nothing of it is told.
    captionChanges.clear();
    driver.click("Command3");
    EXPECT_TRUE(captionChanges.filter(QRegularExpression("^lbl\\d:")).isEmpty())
        << captionChanges.join(" | ").toStdString();
}

// Whatever carries the sentence draws nothing: the window looks the same
// after a sentence as before it. (Before Qt 6.8 a notification is shown, of
// no size; from 6.8 on, the announcement is an event alone.)
TEST_F(Announcements, LeaveTheWindowAsItWas) {
    Form1Driver driver;
    const QImage before = driver.grabClientArea();
    Announcer announcer(driver.form());
    announcer.announce(u"");
    announcer.announce(form::secretSentence(driver.form().board()));
    ASSERT_EQ(heard, QStringList{secret(driver)}) << "an empty sentence was said too";
    EXPECT_EQ(driver.grabClientArea(), before) << "the sentence drew on the window";
}

}  // namespace
}  // namespace window::testing
