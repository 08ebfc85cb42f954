// A label that tells a screen reader both what it is ("בול 3") and what it
// shows ("2"); Qt's own label interface offers only one of the two.
#include "accessible_label.h"

#include <QAccessibleWidget>
#include <algorithm>

#include "caption_label.h"

namespace window {

namespace {

class AccessibleLabel : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleLabel(CaptionLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && label()->accessibleName().isEmpty()) {
            return caption();
        }
        return QAccessibleWidget::text(kind);
    }

    // Read-only text: no selection, no cursor, no attributes.
    QString text(int start, int end) const override {
        const QString shown = caption();
        if (end < 0 || end > shown.size()) {
            end = static_cast<int>(shown.size());
        }
        start = std::clamp(start, 0, end);
        return shown.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(caption().size()); }
    void selection(int /*selectionIndex*/, int* start, int* end) const override {
        *start = *end = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int /*offset*/, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    CaptionLabel* label() const { return static_cast<CaptionLabel*>(widget()); }
    // A hidden label shows nothing, so it reads as empty: a hidden secret
    // digit must stay as secret to a screen reader as it is on screen.
    QString caption() const {
        return label()->isVisibleTo(label()->window()) ? label()->text() : QString();
    }
};

}  // namespace

QAccessibleInterface* accessibleLabelFactory(const QString& /*className*/, QObject* object) {
    if (auto* label = qobject_cast<CaptionLabel*>(object)) {
        return new AccessibleLabel(label);
    }
    return nullptr;
}

}  // namespace window
