// The window as an X server shows it: pixels of a real grab, and the hints
// the window manager reads. Runs under Xvfb (tests/with-xvfb.sh), xcb platform.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "caption_label.h"
#include "form1_driver.h"
#include "images.h"
#include "layout.h"
#include "qt_strings.h"
#include "qt_message_box.h"
#include "x11_connection.h"

namespace window::testing {
namespace {

QImage grab(Form1Driver& driver) {
    QTest::qWait(150);  // let every pending paint reach the server
    QScreen* screen = driver.form().screen();
    return screen->grabWindow(driver.form().winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

void save(const QImage& image, const QString& name) {
    const QString dir = QStringLiteral(BUL_PGIA_ARTEFACT_DIR);
    QDir().mkpath(dir);
    EXPECT_TRUE(image.save(dir + "/" + name)) << (dir + "/" + name).toStdString();
}

// Where every control lies in the window as the window placed it, the colour
// it fills its rectangle with, if any, whether it is enabled and has the
// focus, and for an autosized label the text it is sized to: {"lbl1": {"rect":
// [left, top, width, height], "fill": "#c0ffff", "enabled": true, "focused":
// false, "sizedTo": "7"}}. The web page's comparison test reads it beside the
// grab of the same state.
void saveGeometry(Form1Driver& driver, const QString& name) {
    QJsonObject controls;
    for (const form::Control& control : form::kLayout) {
        const QWidget* widget = driver.control(toQString(control.name));
        const QPoint origin = widget->mapTo(&driver.form(), QPoint(0, 0));
        QJsonObject entry{
            {"rect", QJsonArray{origin.x(), origin.y(), widget->width(), widget->height()}},
            {"fill", widget->autoFillBackground()
                         ? QJsonValue(widget->palette().color(QPalette::Window).name())
                         : QJsonValue()},
            {"enabled", widget->isEnabled()},
            {"focused", widget == driver.form().focusWidget()}};
        if (const auto* label = qobject_cast<const CaptionLabel*>(widget); label && label->autoSize()) {
            entry.insert("sizedTo", label->text());
        }
        controls.insert(widget->objectName(), entry);
    }
    QFile file(QStringLiteral(BUL_PGIA_ARTEFACT_DIR) + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << file.fileName().toStdString();
    file.write(QJsonDocument(controls).toJson());
}

QRect rectOf(const form::Control& control) {
    const form::PixelRect r = form::pixelRect(control);
    return {r.left, r.top, r.width, r.height};
}

QPoint centreOf(const char* name) { return rectOf(*form::findControl(name)).center(); }

std::string hex(QRgb rgb) { return QColor(rgb).name().toStdString(); }

void expectColour(const QImage& image, QPoint point, QRgb expected, const std::string& what) {
    EXPECT_EQ(image.pixel(point) & 0xFFFFFF, expected & 0xFFFFFF)
        << what << " at (" << point.x() << "," << point.y() << "): " << hex(image.pixel(point))
        << " instead of " << hex(expected);
}

// What the window shows where no control lies: the picture, or the back colour.
QRgb behindEverything(QPoint point) {
    static const QImage picture = loadBackgroundPicture().toImage();
    if (!picture.isNull() && picture.rect().contains(point)) {
        return picture.pixel(point);
    }
    return form::kForm1BackColour;
}

bool anyDarkPixel(const QImage& image, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 96) return true;
        }
    }
    return false;
}

QString xprop(Form1Driver& driver) {
    QProcess process;
    process.start("xprop", {"-id", QString::number(driver.form().winId()), "WM_NORMAL_HINTS",
                            "_NET_WM_STATE", "_MOTIF_WM_HINTS", "_NET_WM_NAME", "_NET_WM_ICON"});
    EXPECT_TRUE(process.waitForFinished(10000));
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(Screenshot, EveryColouredCellShowsItsColourAndTheBoardShowsThroughTheRest) {
    Form1Driver driver;
    const QImage image = grab(driver);
    save(image, "form1.png");
    ASSERT_EQ(image.size(), QSize(400, 510));

    for (const form::Control& control : form::kLayout) {
        if (control.kind == form::Kind::Label && control.backColour && !control.has(form::Transparent) &&
            !control.has(form::Hidden) && control.name != "Label4") {
            expectColour(image, rectOf(control).center(), *control.backColour,
                         std::string(control.name));
        }
    }
    // The strip's centre lies under the headings: take a point between them.
    expectColour(image, {84, 20}, 0xFFE0C0, "Label4");
    // Through the transparent board label, between a cell and a line.
    expectColour(image, {76, 80}, behindEverything({76, 80}), "picture under Label5");
    for (QPoint point : {QPoint(390, 10), QPoint(390, 500), QPoint(250, 10), QPoint(300, 300),
                         QPoint(245, 450)}) {
        expectColour(image, point, behindEverything(point), "picture or back colour");
    }
    expectColour(image, {152, 200}, qRgb(0, 0, 0), "Line1");
    expectColour(image, {100, 104}, qRgb(0, 0, 0), "Line12");
    expectColour(image, centreOf("Text1"), driver.control("Text1")->palette().color(QPalette::Base).rgb(),
                 "Text1");
}

// Run alone at display ratio 2 (see CMakeLists.txt): the window as the X
// server shows it, every logical pixel drawn as 2 x 2.
TEST(ScaledScreenshot, TheWholeWindowIsDrawnAtTheDisplayRatio) {
    Form1Driver driver;
    const double ratio = driver.form().devicePixelRatioF();
    const QImage image = grab(driver);
    save(image, QStringLiteral("form1-ratio%1.png").arg(ratio));
    ASSERT_EQ(image.size(), QSize(400, 510) * ratio);
    const auto scaled = [ratio](QPoint point) { return QPoint(point.x() * ratio, point.y() * ratio); };
    for (const form::Control& control : form::kLayout) {
        if (control.kind == form::Kind::Label && control.backColour && !control.has(form::Transparent) &&
            !control.has(form::Hidden) && control.name != "Label4") {
            expectColour(image, scaled(rectOf(control).center()), *control.backColour,
                         std::string(control.name));
        }
    }
    expectColour(image, scaled({152, 200}), qRgb(0, 0, 0), "Line1");
    expectColour(image, scaled({100, 104}), qRgb(0, 0, 0), "Line12");
    // The picture reaches the client area's far corner.
    const QPoint corner(image.width() - 1, image.height() - 1);
    EXPECT_NE(image.pixel(corner) & 0xFFFFFF, form::kForm1BackColour) << "back colour at the corner";
}

// Without a window manager nothing holds the fixed size: made larger from
// outside, as `xdotool windowsize` does, the window shows the rest of the
// picture, and its back colour only beyond the picture's 496 x 538 pixels.
TEST(Screenshot, ALargerWindowShowsTheWholePicture) {
    Form1Driver driver;
    xcb_connection_t* connection = x11Connection();
    ASSERT_NE(connection, nullptr);
    // At the screen's corner, so that all of it lies on the 1024 x 768 screen.
    const std::uint32_t place[] = {0, 0, 600, 700};
    xcb_configure_window(connection, static_cast<xcb_window_t>(driver.form().winId()),
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         place);
    xcb_flush(connection);
    for (int wait = 0; wait < 100 && driver.form().size() != QSize(600, 700); ++wait) {
        QTest::qWait(50);
    }
    const QImage image = grab(driver);
    ASSERT_EQ(image.size(), QSize(600, 700));
    for (QPoint point : {QPoint(450, 300), QPoint(495, 537), QPoint(420, 520), QPoint(496, 300),
                         QPoint(450, 538), QPoint(599, 699)}) {
        expectColour(image, point, behindEverything(point), "picture or back colour");
    }
    save(image, "form1-larger.png");
}

TEST(Screenshot, HiddenSecretAndPanelAreNotDrawnUntilShown) {
    Form1Driver driver;
    const QImage before = grab(driver);
    for (const char* digit : {"lbl1", "lbl2", "lbl3", "lbl4"}) {
        EXPECT_FALSE(anyDarkPixel(before, rectOf(*form::findControl(digit)))) << digit;
    }
    const QPoint insidePanel = rectOf(*form::findControl("Frame1")).topLeft() + QPoint(8, 100);
    expectColour(before, insidePanel, behindEverything(insidePanel), "hidden Frame1");

    driver.guess(wrongGuess(driver.secret()));
    driver.guess("1234");
    driver.typeIntoText1("3838");
    driver.doubleClickLabel6();
    // A win disables the focused "בדוק": the focus goes on to the next control.
    driver.guess(driver.secret());
    EXPECT_EQ(driver.form().focusWidget(), driver.control("Command2"));
    driver.typeIntoText1("56");
    driver.takeBoxes();
    const QImage after = grab(driver);
    save(after, "form1-played.png");
    saveGeometry(driver, "form1-played.json");
    for (const char* digit : {"lbl1", "lbl2", "lbl3", "lbl4"}) {
        const QRect area(driver.control(digit)->geometry());
        EXPECT_TRUE(anyDarkPixel(after, area)) << digit << " shown but not drawn";
    }
    expectColour(after, insidePanel, 0xC0C0FF, "shown Frame1");
}

// Found drawn in #8080FF and #C0C0FF darkened: the back colours of the window
// and the panel reached the outlines through the palette.
TEST(Screenshot, ButtonsAndTheGuessBoxAreOutlinedAsTheSystemDrawsThem) {
    Form1Driver driver;
    driver.doubleClickLabel6();
    driver.takeBoxes();
    driver.control("Text1")->clearFocus();  // a focused box is outlined in the highlight
    const QImage image = grab(driver);
    for (const char* name : {"Text1", "Command1", "Command3", "Command4"}) {
        const QWidget* control = driver.control(name);
        // The same kind of control on its own, in the application's colours.
        std::unique_ptr<QWidget> alone;
        if (qobject_cast<const QLineEdit*>(control) != nullptr) {
            alone = std::make_unique<QLineEdit>();
        } else {
            alone = std::make_unique<QPushButton>();
        }
        alone->resize(control->size());
        const QImage reference = alone->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint origin = control->mapTo(&driver.form(), QPoint(0, 0));
        for (const QPoint edge : {QPoint(0, control->height() / 2), QPoint(control->width() / 2, 0)}) {
            expectColour(image, origin + edge, reference.pixel(edge), std::string(name) + "'s outline");
        }
    }
}

TEST(Screenshot, AMessageBoxShowsItsTextWithOneOkAndNoIcon) {
    Form1Driver driver;
    QtMessageBox messages(driver.form());
    QImage boxImage;
    QTimer grabber;
    grabber.setSingleShot(true);
    QObject::connect(&grabber, &QTimer::timeout, [&] {
        if (QMessageBox* box = openBox()) {
            QTest::qWait(150);
            boxImage = box->screen()->grabWindow(box->winId()).toImage();
            box->close();
        }
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        if (QMessageBox* box = openBox()) box->hide();
    });
    grabber.start(20);
    deadline.start(5000);
    messages.show(game::MessageId::WinIn1);
    ASSERT_FALSE(boxImage.isNull());
    save(boxImage, "message-box.png");
    // The text is drawn: not only a blank dialog.
    EXPECT_TRUE(anyDarkPixel(boxImage.convertToFormat(QImage::Format_RGB32), boxImage.rect()));
}

TEST(WindowManagerHints, FixedSizeNoMinMaxNoTaskBarButtonCentredWithCaption) {
    Form1Driver driver;
    QTest::qWait(100);
    const QString props = xprop(driver);
    EXPECT_TRUE(props.contains("program specified minimum size: 400 by 510")) << props.toStdString();
    EXPECT_TRUE(props.contains("program specified maximum size: 400 by 510")) << props.toStdString();
    EXPECT_TRUE(props.contains(QRegularExpression("_NET_WM_STATE\\(ATOM\\) = .*_NET_WM_STATE_SKIP_TASKBAR")))
        << props.toStdString();
    EXPECT_TRUE(props.contains(QString::fromUtf8("_NET_WM_NAME(UTF8_STRING) = \"זמבורה\"")))
        << props.toStdString();

    // Motif decorations: flags, functions, decorations, ...; bit 0x20 is the
    // minimise button and 0x40 the maximise button.
    const QRegularExpressionMatch motif =
        QRegularExpression("_MOTIF_WM_HINTS\\([^)]*\\) = (0x[0-9a-f]+), (0x[0-9a-f]+), (0x[0-9a-f]+)")
            .match(props);
    ASSERT_TRUE(motif.hasMatch()) << props.toStdString();
    // Functions: 0x1 all, 0x2 resize, 0x4 move, 0x8 minimise, 0x10 maximise,
    // 0x20 close; decorations: 0x4 resize handles, 0x10 the system menu.
    const unsigned functions = motif.captured(2).toUInt(nullptr, 16);
    const unsigned decorations = motif.captured(3).toUInt(nullptr, 16);
    EXPECT_EQ(decorations & 0x60U, 0U) << props.toStdString();
    EXPECT_EQ(functions & 0x1BU, 0U)
        << "all, resize, minimise or maximise offered: " << props.toStdString();
    EXPECT_EQ(functions & 0x24U, 0x24U) << "no move or close: " << props.toStdString();
    EXPECT_EQ(decorations & 0x14U, 0x10U) << "handles, or no system menu: " << props.toStdString();

    const bool hasIcon = !loadWindowIcon().isNull();
    EXPECT_EQ(props.contains("_NET_WM_ICON(CARDINAL)"), hasIcon) << props.toStdString();

    // Xvfb has no window manager: the window lies where the program put it.
    const QRect screen = driver.form().screen()->availableGeometry();
    EXPECT_EQ(driver.form().geometry().center(), screen.center());
    EXPECT_EQ(driver.form().geometry().topLeft(),
              QPoint((screen.width() - 400) / 2, (screen.height() - 510) / 2));
}

// Shown again, the window is still kept off the task bar: reading the state
// to see whether it holds the atom already must leave the state in place.
TEST(WindowManagerHints, HiddenAndShownAgainStillNoTaskBarButton) {
    Form1Driver driver;
    driver.form().hide();
    QTest::qWait(100);
    driver.form().show();
    QTest::qWait(100);
    const QString props = xprop(driver);
    EXPECT_TRUE(props.contains(QRegularExpression("_NET_WM_STATE\\(ATOM\\) = .*_NET_WM_STATE_SKIP_TASKBAR")))
        << props.toStdString();
}

}  // namespace
}  // namespace window::testing
