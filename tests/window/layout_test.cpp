// The built window against its stored layout: places, stacking, looks, fonts.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <algorithm>

#include "caption_label.h"
#include "form1_driver.h"
#include "layout.h"
#include "qt_strings.h"

namespace window::testing {
namespace {

QString nameOf(const form::Control& control) { return toQString(control.name); }

// Buttons and the text box keep the application's colours for their kind,
// whatever back colour the window or the panel around them has.
void expectSystemColours(const QWidget& widget) {
    const QPalette system = QApplication::palette(&widget);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        EXPECT_EQ(widget.palette().color(group, QPalette::Window), system.color(group, QPalette::Window))
            << widget.objectName().toStdString() << " in colour group " << group;
    }
}

class EveryControl : public ::testing::TestWithParam<std::size_t> {
protected:
    const form::Control& control() const { return form::kLayout[GetParam()]; }
};

TEST_P(EveryControl, SitsAtItsStoredTwipsOverFifteen) {
    Form1Driver driver;
    QWidget* widget = driver.control(nameOf(control()));
    ASSERT_NE(widget, nullptr);
    const QString expectedParent =
        control().parent.empty() ? QStringLiteral("Form1") : toQString(control().parent);
    EXPECT_EQ(widget->parentWidget()->objectName(), expectedParent);
    if (control().kind == form::Kind::Line) {
        const int left = std::min(control().x1, control().x2) / 15;
        const int top = std::min(control().y1, control().y2) / 15;
        const int right = std::max(control().x1, control().x2) / 15;
        const int bottom = std::max(control().y1, control().y2) / 15;
        EXPECT_EQ(widget->geometry(), QRect(QPoint(left, top), QPoint(right, bottom)));
        return;
    }
    EXPECT_EQ(widget->pos(), QPoint(control().x1 / 15, control().y1 / 15));
    if (control().has(form::AutoSize)) {
        auto* label = static_cast<CaptionLabel*>(widget);
        EXPECT_EQ(widget->size(), label->sizeForCaption(label->text()));
    } else {
        EXPECT_EQ(widget->size(), QSize(control().x2 / 15, control().y2 / 15));
    }
}

TEST_P(EveryControl, HasItsStoredLook) {
    Form1Driver driver;
    QWidget* widget = driver.control(nameOf(control()));
    ASSERT_NE(widget, nullptr);
    switch (control().kind) {
        case form::Kind::Label: {
            auto* label = qobject_cast<QLabel*>(widget);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->frameWidth(), control().has(form::Border) ? 2 : 0);
            if (control().has(form::Border)) {
                EXPECT_EQ(label->frameShape(), QFrame::Panel);
                EXPECT_EQ(label->frameShadow(), QFrame::Sunken);
            }
            EXPECT_EQ(label->autoFillBackground(), !control().has(form::Transparent));
            if (control().backColour && !control().has(form::Transparent)) {
                EXPECT_EQ(label->palette().color(QPalette::Window).rgb() & 0xFFFFFF,
                          *control().backColour);
            }
            EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop | Qt::AlignAbsolute);
            EXPECT_FALSE(label->wordWrap());
            EXPECT_EQ(label->indent(), 0);
            EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
            break;
        }
        case form::Kind::Button: {
            auto* button = qobject_cast<QPushButton*>(widget);
            ASSERT_NE(button, nullptr);
            EXPECT_FALSE(button->autoDefault());
            EXPECT_FALSE(button->isDefault());
            EXPECT_EQ(button->text(), toQString(control().caption));
            expectSystemColours(*widget);
            break;
        }
        case form::Kind::TextBox:
            EXPECT_EQ(static_cast<QLineEdit*>(widget)->maxLength(), 4);
            // Absolute: typed Hebrew would otherwise start at the right.
            EXPECT_EQ(static_cast<QLineEdit*>(widget)->alignment(),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::AlignAbsolute);
            expectSystemColours(*widget);
            break;
        case form::Kind::Frame: {
            auto* frame = qobject_cast<QGroupBox*>(widget);
            ASSERT_NE(frame, nullptr);
            EXPECT_EQ(frame->palette().color(QPalette::Window).rgb() & 0xFFFFFF, 0xC0C0FFU);
            EXPECT_TRUE(frame->autoFillBackground());
            // Its etched edge is a 1-pixel shadow and a 1-pixel light line;
            // the back colour starts at the third pixel in from the edge.
            const QImage drawn = frame->grab().toImage();
            const int middle = frame->height() / 2;
            EXPECT_EQ(drawn.pixel(2, middle) & 0xFFFFFF, 0xC0C0FFU);
            EXPECT_NE(drawn.pixel(1, middle) & 0xFFFFFF, 0xC0C0FFU);
            // The title breaks the top edge from 6 pixels in, over its
            // width and 2 pixels of back colour on each side.
            const QFontMetrics metrics(frame->font());
            const int edge = metrics.height() / 2;
            const int gapEnd = 6 + metrics.horizontalAdvance(frame->title()) + 4;
            EXPECT_NE(drawn.pixel(5, edge) & 0xFFFFFF, 0xC0C0FFU) << "the edge before the title";
            EXPECT_EQ(drawn.pixel(6, edge) & 0xFFFFFF, 0xC0C0FFU) << "the gap's first pixel";
            EXPECT_EQ(drawn.pixel(gapEnd - 1, edge) & 0xFFFFFF, 0xC0C0FFU) << "the gap's last pixel";
            EXPECT_NE(drawn.pixel(gapEnd, edge) & 0xFFFFFF, 0xC0C0FFU) << "the edge after the title";
            break;
        }
        case form::Kind::Line:
            EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
            break;
    }
    EXPECT_EQ(widget->isHidden(), control().has(form::Hidden));
}

INSTANTIATE_TEST_SUITE_P(Layout, EveryControl, ::testing::Range<std::size_t>(0, form::kControlCount),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return std::string(form::kLayout[info.param].name);
                         });

TEST(Layout, HasSixtyControlsWithUniqueNamesAllMultiplesOfFifteen) {
    QSet<QString> names;
    for (const form::Control& control : form::kLayout) {
        names.insert(nameOf(control));
        for (int value : {control.x1, control.y1, control.x2, control.y2}) {
            EXPECT_EQ(value % 15, 0) << control.name;
        }
    }
    EXPECT_EQ(names.size(), 60);
}

// Qt draws later siblings over earlier ones: children() is the stacking order,
// bottom first.
TEST(Stacking, LabelsAndLinesFollowTheTableAndEverythingElseLiesAbove) {
    Form1Driver driver;
    QStringList bottomUp;
    for (QObject* child : driver.form().children()) {
        if (child->isWidgetType() && !child->objectName().isEmpty() &&
            form::findControl(child->objectName().toStdString()) != nullptr) {
            bottomUp << child->objectName();
        }
    }
    QStringList expectedLabelsBottomUp;
    QStringList expectedOthersBottomUp;
    for (auto it = form::kLayout.rbegin(); it != form::kLayout.rend(); ++it) {
        if (!it->parent.empty()) continue;
        const bool low = it->kind == form::Kind::Label || it->kind == form::Kind::Line;
        (low ? expectedLabelsBottomUp : expectedOthersBottomUp) << nameOf(*it);
    }
    EXPECT_EQ(bottomUp, expectedLabelsBottomUp + expectedOthersBottomUp);
}

TEST(Window, IsAFixedFourHundredByFiveHundredTenWindowWithTheStoredCaption) {
    Form1Driver driver;
    Form1& form = driver.form();
    EXPECT_EQ(form.size(), QSize(400, 510));
    EXPECT_EQ(form.minimumSize(), QSize(400, 510));
    EXPECT_EQ(form.maximumSize(), QSize(400, 510));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("זמבורה"));
    EXPECT_EQ(form.palette().color(QPalette::Window).rgb() & 0xFFFFFF, 0x8080FFU);
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.layoutDirection(), Qt::LeftToRight);
    // The app id by which a Wayland compositor and the desktop match the
    // window to its entry, bul-pgia.desktop, and so to its name and icon.
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("bul-pgia"));
}

// The longest caption, "מחק את כל ניסיונותי עד עכשיו", is wider than its button.
TEST(Buttons, ALongCaptionWrapsOntoTwoLines) {
    Form1Driver driver;
    QWidget* command8 = driver.control("Command8");
    const QImage drawn = command8->grab().toImage();
    const auto inkIn = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y) {
            for (int x = 4; x < drawn.width() - 4; ++x) {
                if (qGray(drawn.pixel(x, y)) < 96) return true;
            }
        }
        return false;
    };
    const int third = drawn.height() / 3;
    EXPECT_TRUE(inkIn(4, third)) << "nothing written on the upper line";
    EXPECT_TRUE(inkIn(2 * third, drawn.height() - 4)) << "nothing written on the lower line";
}

// A screen reader may ask for any range of a cell's text, even one that
// starts before it or ends past it: it gets the part that exists.
TEST(Labels, GiveTheExistingPartOfAnyRangeOfTheirText) {
    Form1Driver driver;
    driver.guess("1234");
    QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(driver.control("lbltry1"));
    ASSERT_NE(cell, nullptr);
    ASSERT_NE(cell->textInterface(), nullptr);
    EXPECT_EQ(cell->textInterface()->text(-2, 2), QStringLiteral("12"));
    EXPECT_EQ(cell->textInterface()->text(1, 9), QStringLiteral("234"));
    EXPECT_EQ(cell->textInterface()->text(3, 1), QString());
}

TEST(Fonts, BoardCellsUseDavidOrItsCulmusStandIn) {
    Form1Driver driver;
    struct Case {
        const char* control;
        double points;
        bool bold;
    };
    for (const Case& c : {Case{"bol1", 21.75, false}, Case{"Text1", 21.75, false},
                          Case{"Label1", 21.75, false}, Case{"Label6", 12.0, true}}) {
        const QFont font = driver.control(c.control)->font();
        EXPECT_EQ(font.family(), "David") << c.control;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), c.points) << c.control;
        EXPECT_EQ(font.bold(), c.bold) << c.control;
        const QString resolved = QFontInfo(font).family();
        EXPECT_TRUE(resolved == "David" || resolved == "David CLM") << resolved.toStdString();
    }
    const QFont dialog = driver.control("Command1")->font();
    EXPECT_EQ(dialog.family(), QApplication::font().family());
    EXPECT_DOUBLE_EQ(dialog.pointSizeF(), 8.0);
    EXPECT_EQ(driver.control("Frame1")->font(), dialog);
}

}  // namespace
}  // namespace window::testing
