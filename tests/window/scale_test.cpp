// Form1 at the display scale this process runs at (QT_SCALE_FACTOR; CTest runs
// it once per ratio): captions fit, the client area scales whole, the picture
// covers it and the grid lines still meet.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <cmath>

#include "form1_driver.h"
#include "layout.h"
#include "qt_strings.h"

namespace window::testing {
namespace {

const QSize kClientArea(form::pixels(form::kForm1ClientWidth), form::pixels(form::kForm1ClientHeight));

// The ratio the test was started at, so that a factor Qt ignored cannot pass
// for ratio 1.
double startedRatio() {
    bool ok = false;
    const double ratio = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? ratio : 1.0;
}

std::string describe(const QRectF& rect) {
    return QStringLiteral("%1x%2 at %3,%4")
        .arg(rect.width())
        .arg(rect.height())
        .arg(rect.left())
        .arg(rect.top())
        .toStdString();
}

// A label draws its caption from the top-left of its contents. The board's
// cells are lower than font A's line box (the layout was made for a font with
// a smaller one), so what must fit is what is drawn: the advance across and
// the glyphs' ink from top to bottom.
void expectFits(const QLabel& label) {
    const QString caption = label.text();
    if (caption.isEmpty()) {
        return;
    }
    const QFontMetricsF metrics(label.font(), &label);
    const QRectF room(label.contentsRect());
    const QRectF ink =
        metrics.tightBoundingRect(caption).translated(room.left(), room.top() + metrics.ascent());
    const std::string what = label.objectName().toStdString() + " \"" + caption.toStdString() +
                             "\" in " + describe(room) + ", ink " + describe(ink);
    EXPECT_LE(metrics.horizontalAdvance(caption), room.width()) << what;
    EXPECT_GE(ink.left(), room.left()) << what;
    EXPECT_LE(ink.right(), room.right()) << what;
    EXPECT_GE(ink.top(), room.top()) << what;
    EXPECT_LE(ink.bottom(), room.bottom()) << what;
}

// A button centres its caption in its contents, wrapped at word boundaries.
void expectFits(const QPushButton& button, int lines) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QRectF room(button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button));
    const QFontMetricsF metrics(button.font(), &button);
    const QRectF laidOut =
        metrics.boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, option.text);
    const std::string what = button.objectName().toStdString() + " \"" +
                             option.text.toStdString() + "\" in " + describe(room) + ", laid out " +
                             describe(laidOut);
    EXPECT_TRUE(room.contains(laidOut)) << what;
    EXPECT_EQ(std::lround(laidOut.height() / metrics.lineSpacing()), lines) << what;
}

TEST(AtTheDisplayScale, EveryCaptionFitsItsControl) {
    Form1Driver driver;
    // A guess with its counts, and the secret uncovered: every label then
    // shows what it shows in play.
    driver.guess(wrongGuess(driver.secret()));
    driver.click("Command2");
    driver.takeBoxes();
    for (const form::Control& control : form::kLayout) {
        QWidget* widget = driver.control(toQString(control.name));
        if (const auto* label = qobject_cast<QLabel*>(widget)) {
            expectFits(*label);
        } else if (const auto* button = qobject_cast<QPushButton*>(widget)) {
            // Command8 is the taller button, made for a caption on two lines.
            expectFits(*button, control.name == "Command8" ? 2 : 1);
        }
    }
}

TEST(AtTheDisplayScale, TheClientAreaIsTheLayoutTimesTheRatio) {
    Form1Driver driver;
    EXPECT_DOUBLE_EQ(driver.form().devicePixelRatioF(), startedRatio());
    EXPECT_EQ(driver.form().size(), kClientArea);
    EXPECT_EQ(driver.grabClientArea().size(), kClientArea * startedRatio());
}

TEST(AtTheDisplayScale, ThePictureCoversTheWholeClientArea) {
#ifndef BUL_PGIA_HAVE_ASSETS
    GTEST_SKIP() << "built without assets/assets.qrc";
#endif
    Form1Driver driver;
    const QImage image = driver.grabClientArea();
    // The picture and every control lack the back colour: it shows only
    // where nothing covers it.
    int uncovered = 0;
    QPoint first;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFFU) == form::kForm1BackColour && uncovered++ == 0) {
                first = {x, y};
            }
        }
    }
    EXPECT_EQ(uncovered, 0) << "the back colour shows, first at device pixel (" << first.x()
                            << "," << first.y() << ")";
}

// Every line runs unbroken from end to end in device pixels, so that every
// crossing, corner and joint of the grid meets. Label5's border is drawn over
// the outer lines by design; it is hidden here to see the lines themselves.
TEST(AtTheDisplayScale, TheGridLinesStillMeet) {
    Form1Driver driver;
    driver.control("Label5")->hide();
    const QImage image = driver.grabClientArea();
    const double ratio = driver.form().devicePixelRatioF();
    // The device pixel that holds the middle of a logical one: painted by a
    // line covering that logical pixel at every ratio of at least 1.
    const auto middle = [ratio](int logical) { return static_cast<int>((logical + 0.5) * ratio); };
    int lines = 0;
    for (const form::Control& control : form::kLayout) {
        if (control.kind != form::Kind::Line) {
            continue;
        }
        ++lines;
        const QWidget* line = driver.control(toQString(control.name));
        const QRect at = line->geometry();
        const bool vertical = at.width() == 1;
        const QRgb ink = line->palette().color(QPalette::WindowText).rgb() & 0xFFFFFFU;
        const int across = middle(vertical ? at.left() : at.top());
        const int last = middle(vertical ? at.bottom() : at.right());
        for (int along = middle(vertical ? at.top() : at.left()); along <= last; ++along) {
            const QPoint pixel = vertical ? QPoint(across, along) : QPoint(along, across);
            if ((image.pixel(pixel) & 0xFFFFFFU) != ink) {
                ADD_FAILURE() << control.name << " is broken at device pixel (" << pixel.x() << ","
                              << pixel.y() << ")";
                break;
            }
        }
    }
    EXPECT_EQ(lines, 15);
}

}  // namespace
}  // namespace window::testing
