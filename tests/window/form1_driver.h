// Plays Form1 as a player does, through real mouse and key events, and reads
// the board off the controls; watches for message boxes and dismisses them.
#pragma once

#include <QImage>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "form1.h"

namespace window::testing {

// What every control shows: text, visible and enabled, by control name.
struct ControlState {
    QString text;
    bool visible;
    bool enabled;
    bool operator==(const ControlState&) const = default;
};
using Snapshot = std::map<QString, ControlState>;

// How the player closes a message box.
enum class Dismissal { ClickOk, PressEnter, PressEscape, CloseWindow };

// One message box as it was seen while open.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    int buttonCount = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool iconPixmapNull = true;
    bool okButtonIconNull = true;
    Qt::WindowModality modality = Qt::NonModal;
    Snapshot atOpen;        // the board when the box appeared
    Snapshot beforeClose;   // after a click on the board was tried while it was open
};

// What `box` shows and how it behaves, read while it is open.
SeenBox readBox(QMessageBox& box);

class Form1Driver {
public:
    // Creates a Form1, shows it and waits until it is exposed and active.
    Form1Driver();
    ~Form1Driver();

    Form1& form() { return *form_; }
    QWidget* control(const QString& name) const;

    QString text(const QString& name) const;
    bool visible(const QString& name) const;
    bool enabled(const QString& name) const;
    Snapshot snapshot() const;

    // The secret as the hidden labels lbl1..lbl4 hold it.
    QString secret() const;

    // The client area as the window paints it, in device pixels: at a display
    // ratio of 2 every logical pixel is 2 x 2 of them.
    QImage grabClientArea() const;

    // Player's actions. Every action runs with a watcher that records and
    // dismisses (by `dismissal`) each message box it opens; a box still open
    // after a deadline is closed and counted in stuckBoxes().
    void typeIntoText1(const QString& keys);
    void click(const QString& button);
    void doubleClickLabel6(Qt::MouseButton button = Qt::LeftButton);
    void singleClickLabel6();
    void pressKey(Qt::Key key);
    void setDismissal(Dismissal dismissal) { dismissal_ = dismissal; }

    // Types `guess` and clicks Command1.
    void guess(const QString& guess);

    // Boxes seen since the last call, oldest first.
    std::vector<SeenBox> takeBoxes();
    int stuckBoxes() const { return stuckBoxes_; }

private:
    void watched(const std::function<void()>& action);

    std::unique_ptr<Form1> form_;
    Dismissal dismissal_ = Dismissal::ClickOk;
    std::vector<SeenBox> boxes_;
    int stuckBoxes_ = 0;
};

// A guess that scores no bulls against `secret`: its digits rotated by one.
QString wrongGuess(const QString& secret);

// The message box in front: the active modal one, else any box on screen, so
// that a box that is wrongly not modal is still seen, reported and closed.
QMessageBox* openBox();

// The names of the cells and of every other control, in layout order.
QStringList controlNames();

}  // namespace window::testing
