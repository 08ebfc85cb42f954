// The test driver: real events in, control states out, message boxes watched.
#include "form1_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
#include <utility>

#include "layout.h"
#include "qt_strings.h"

namespace window::testing {

namespace {

// Long enough for any box to be seen and closed; short enough that a box
// that cannot be closed fails the test instead of hanging it.
constexpr int kBoxDeadlineMs = 5000;
constexpr int kPollMs = 10;

void dismiss(QMessageBox& box, Dismissal dismissal) {
    switch (dismissal) {
        case Dismissal::ClickOk:
            if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
                QTest::mouseClick(ok, Qt::LeftButton);
            }
            break;
        case Dismissal::PressEnter:
            QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, Qt::Key_Return);
            break;
        case Dismissal::PressEscape:
            QTest::keyClick(&box, Qt::Key_Escape);
            break;
        case Dismissal::CloseWindow:
            box.close();
            break;
    }
}

// Mouse events go to the window at the control's centre, as the window system
// delivers them: Qt then picks the control under the pointer and holds the
// event back while a modal box is open. (QTest's widget overloads would hand
// the event to the widget directly, past both.)
QPoint centreInWindow(QWidget& control) {
    return control.mapTo(control.window(), control.rect().center());
}

}  // namespace

QMessageBox* openBox() {
    if (auto* modal = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        return modal;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window); box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

QStringList controlNames() {
    QStringList names;
    for (const form::Control& control : form::kLayout) {
        names << toQString(control.name);
    }
    return names;
}

QString wrongGuess(const QString& secret) { return secret.mid(1) + secret.left(1); }

SeenBox readBox(QMessageBox& box) {
    SeenBox seen;
    seen.title = box.windowTitle();
    seen.text = box.text();
    seen.buttons = box.standardButtons();
    seen.buttonCount = static_cast<int>(box.buttons().size());
    seen.icon = box.icon();
    seen.iconPixmapNull = box.iconPixmap().isNull();
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    seen.okButtonIconNull = ok == nullptr || ok->icon().isNull();
    seen.modality = box.windowModality();
    return seen;
}

Form1Driver::Form1Driver() : form_(std::make_unique<Form1>()) {
    form_->show();
    form_->activateWindow();
    if (!QTest::qWaitForWindowActive(form_.get())) {
        ADD_FAILURE() << "Form1 did not become active";
    }
}

Form1Driver::~Form1Driver() = default;

QWidget* Form1Driver::control(const QString& name) const {
    auto* widget = form_->findChild<QWidget*>(name);
    if (widget == nullptr) {
        ADD_FAILURE() << "no control " << name.toStdString();
    }
    return widget;
}

QString Form1Driver::text(const QString& name) const {
    QWidget* widget = control(name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
    return {};
}

bool Form1Driver::visible(const QString& name) const { return control(name)->isVisible(); }
bool Form1Driver::enabled(const QString& name) const { return control(name)->isEnabled(); }

Snapshot Form1Driver::snapshot() const {
    Snapshot snapshot;
    for (const QString& name : controlNames()) {
        snapshot[name] = {text(name), visible(name), enabled(name)};
    }
    return snapshot;
}

QString Form1Driver::secret() const {
    return text("lbl1") + text("lbl2") + text("lbl3") + text("lbl4");
}

QImage Form1Driver::grabClientArea() const {
    return form_->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void Form1Driver::watched(const std::function<void()>& action) {
    QPointer<QMessageBox> current;
    bool clickTried = false;
    bool dismissed = false;
    QElapsedTimer open;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QMessageBox* box = openBox();
        if (box == nullptr) {
            return;
        }
        if (box != current) {
            current = box;
            clickTried = false;
            dismissed = false;
            open.start();
            SeenBox seen = readBox(*box);
            seen.atOpen = snapshot();
            boxes_.push_back(seen);
            return;
        }
        if (!clickTried) {
            // The board must take no input while the box is open.
            QWindow* window = form_->windowHandle();
            QTest::mouseClick(window, Qt::LeftButton, {}, centreInWindow(*control("Command3")));
            QTest::mouseClick(window, Qt::LeftButton, {}, centreInWindow(*control("Command2")));
            clickTried = true;
            return;
        }
        if (!dismissed) {
            boxes_.back().beforeClose = snapshot();
            dismissed = true;
            dismiss(*box, dismissal_);
            return;
        }
        if (open.elapsed() > kBoxDeadlineMs) {
            ++stuckBoxes_;
            box->done(QMessageBox::Ok);
        }
    });
    poll.start();
    action();
    poll.stop();
}

void Form1Driver::typeIntoText1(const QString& keys) {
    QWidget* text1 = control("Text1");
    watched([&] {
        for (qsizetype i = 0; i < keys.size(); ++i) {
            const QChar key = keys[i];
            if (key.unicode() < 0x80) {
                QTest::keyClick(text1, key.toLatin1());
                continue;
            }
            // A key of a non-Latin layout: no key code QTest knows, only its
            // text (both halves of a surrogate pair in one keystroke).
            const qsizetype length = key.isHighSurrogate() && i + 1 < keys.size() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, text1, Qt::Key_unknown, keys.mid(i, length),
                                Qt::NoModifier);
            i += length - 1;
        }
    });
}

void Form1Driver::click(const QString& button) {
    const QPoint at = centreInWindow(*control(button));
    watched([&] { QTest::mouseClick(form_->windowHandle(), Qt::LeftButton, {}, at); });
}

void Form1Driver::doubleClickLabel6(Qt::MouseButton button) {
    const QPoint at = centreInWindow(*control("Label6"));
    watched([&] { QTest::mouseDClick(form_->windowHandle(), button, {}, at); });
}

void Form1Driver::singleClickLabel6() {
    const QPoint at = centreInWindow(*control("Label6"));
    watched([&] { QTest::mouseClick(form_->windowHandle(), Qt::LeftButton, {}, at); });
}

void Form1Driver::pressKey(Qt::Key key) {
    watched([&] {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form_.get(), key);
    });
}

void Form1Driver::guess(const QString& guess) {
    typeIntoText1(guess);
    click("Command1");
}

std::vector<SeenBox> Form1Driver::takeBoxes() { return std::exchange(boxes_, {}); }

}  // namespace window::testing
