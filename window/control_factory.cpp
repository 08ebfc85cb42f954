// One factory for the sixty controls: each is built from its row of the layout table.
#include "control_factory.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <algorithm>
#include <vector>

#include "accessible_label.h"
#include "accessible_names.h"
#include "caption_button.h"
#include "caption_frame.h"
#include "caption_label.h"
#include "fonts.h"
#include "grid_line.h"
#include "layout.h"
#include "qt_strings.h"

namespace window {

namespace {

void fillWith(QWidget& widget, std::uint32_t colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(colour));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// Buttons and the text box are drawn in the system's colours. The window and
// the codes panel hold their back colours in the Window role, which children
// inherit and styles draw outlines and bevels with: the role is set back to
// the application's own for the kind of control.
QWidget* inSystemColours(QWidget* widget) {
    QPalette palette = widget->palette();
    const QPalette system = QApplication::palette(widget);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, system.color(group, QPalette::Window));
    }
    widget->setPalette(palette);
    return widget;
}

QWidget* makeLabel(const form::Control& control, QWidget* parent, std::uint32_t formBackColour) {
    auto* label = new CaptionLabel(control.has(form::AutoSize), parent);
    if (control.has(form::Border)) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(2);
    } else {
        label->setFrameStyle(QFrame::NoFrame);
    }
    if (!control.has(form::Transparent)) {
        fillWith(*label, control.backColour.value_or(formBackColour));
    }
    return label;
}

QWidget* makeTextBox(const form::Control& control, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    if (control.has(form::MaxLength4)) {
        edit->setMaxLength(4);
    }
    edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter | Qt::AlignAbsolute);
    return edit;
}

QWidget* makeFrame(const form::Control& control, QWidget* parent) {
    auto* frame = new CaptionFrame(parent);
    if (control.backColour) {
        fillWith(*frame, *control.backColour);
    }
    return frame;
}

QWidget* makeWidget(const form::Control& control, QWidget* parent, std::uint32_t formBackColour) {
    switch (control.kind) {
        case form::Kind::Button: return inSystemColours(new CaptionButton(QString(), parent));
        case form::Kind::TextBox: return inSystemColours(makeTextBox(control, parent));
        case form::Kind::Frame: return makeFrame(control, parent);
        case form::Kind::Label: return makeLabel(control, parent, formBackColour);
        case form::Kind::Line: return new GridLine(parent);
    }
    return nullptr;
}

void setCaption(QWidget& widget, const form::Control& control) {
    const QString caption = toQString(control.caption);
    switch (control.kind) {
        case form::Kind::Button: static_cast<CaptionButton&>(widget).setText(caption); break;
        case form::Kind::TextBox: static_cast<QLineEdit&>(widget).setText(caption); break;
        case form::Kind::Frame: static_cast<CaptionFrame&>(widget).setTitle(caption); break;
        case form::Kind::Label: static_cast<CaptionLabel&>(widget).setCaption(caption); break;
        case form::Kind::Line: break;
    }
}

bool takesFocus(form::Kind kind) { return kind == form::Kind::Button || kind == form::Kind::TextBox; }

// Once per program, before any label is asked for: labels then read as their
// place ("בול 3") and their caption ("2").
void makeLabelsAccessible() {
    static const bool installed = (QAccessible::installFactory(accessibleLabelFactory), true);
    Q_UNUSED(installed);
}

// One widget per row, at the same index: named, placed, captioned and shown
// as stored. Frames first, so that the controls inside them have a parent.
std::vector<QWidget*> createControls(QWidget& form1) {
    std::vector<QWidget*> widgets(form::kLayout.size(), nullptr);
    for (const bool frames : {true, false}) {
        for (std::size_t i = 0; i < form::kLayout.size(); ++i) {
            const form::Control& control = form::kLayout[i];
            if ((control.kind == form::Kind::Frame) != frames) {
                continue;
            }
            QWidget* parent = control.parent.empty()
                                  ? &form1
                                  : form1.findChild<QWidget*>(toQString(control.parent));
            Q_ASSERT(parent != nullptr);
            QWidget* widget = makeWidget(control, parent, form::kForm1BackColour);
            widget->setObjectName(toQString(control.name));
            widget->setAccessibleName(toQString(form::accessibleName(control.name)));
            widget->setFont(boardFont(control.font, dialogFont(form1.font())));
            const form::PixelRect rect = form::pixelRect(control);
            widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
            setCaption(*widget, control);
            widget->setVisible(!control.has(form::Hidden));
            widgets[i] = widget;
        }
    }
    return widgets;
}

// Each raise() puts a widget on top of its siblings, so raising from the
// bottom of the table upwards leaves the first row topmost; the controls that
// lie above the labels are raised last, above every label and line.
void stack(const std::vector<QWidget*>& widgets) {
    for (const bool above : {false, true}) {
        for (std::size_t i = form::kLayout.size(); i-- > 0;) {
            if (form::kLayout[i].has(form::AboveLabels) == above) {
                widgets[i]->raise();
            }
        }
    }
}

// The buttons and the text box in the order of their stored tab indexes; no
// other control takes the focus.
void orderTabs(const std::vector<QWidget*>& widgets) {
    std::vector<std::size_t> focusable;
    for (std::size_t i = 0; i < form::kLayout.size(); ++i) {
        if (takesFocus(form::kLayout[i].kind)) {
            focusable.push_back(i);
        } else {
            widgets[i]->setFocusPolicy(Qt::NoFocus);
        }
    }
    std::sort(focusable.begin(), focusable.end(), [](std::size_t a, std::size_t b) {
        return *form::kLayout[a].tabIndex < *form::kLayout[b].tabIndex;
    });
    for (std::size_t k = 1; k < focusable.size(); ++k) {
        QWidget::setTabOrder(widgets[focusable[k - 1]], widgets[focusable[k]]);
    }
}

}  // namespace

void buildControls(QWidget& form1) {
    makeLabelsAccessible();
    const std::vector<QWidget*> widgets = createControls(form1);
    stack(widgets);
    orderTabs(widgets);
}

}  // namespace window
