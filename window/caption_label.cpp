// Board labels: text from the top-left, never wrapped, centred or mirrored.
#include "caption_label.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <cmath>

namespace window {

CaptionLabel::CaptionLabel(bool autoSize, QWidget* parent) : QLabel(parent), autoSize_(autoSize) {
    setTextFormat(Qt::PlainText);
    // AlignAbsolute: a Hebrew caption would otherwise be aligned to the right,
    // as Qt follows the direction of the text for plain left alignment.
    setAlignment(Qt::AlignLeft | Qt::AlignTop | Qt::AlignAbsolute);
    setWordWrap(false);
    // A framed QLabel indents its text by half an "x" unless told otherwise.
    setIndent(0);
    setMargin(0);
    setTextInteractionFlags(Qt::NoTextInteraction);
}

QSize CaptionLabel::sizeForCaption(const QString& caption) const {
    // Whole pixels that hold the text's real extent: rounded to the nearest,
    // they would cut up to half a pixel off the last letter or a descender,
    // which shows at every display scale above 1.
    const QFontMetricsF metrics(font(), this);
    const int frame = 2 * frameWidth();
    return {static_cast<int>(std::ceil(metrics.horizontalAdvance(caption))) + frame,
            static_cast<int>(std::ceil(metrics.height())) + frame};
}

void CaptionLabel::setCaption(const QString& caption) {
    const QString before = text();
    if (autoSize_) {
        resize(sizeForCaption(caption));
    }
    setText(caption);
    // Qt announces a new caption only for a label without a name of its own;
    // a screen reader follows the rows and counts through this. It is told
    // once the handler has returned, as the screen is, and only about a label
    // then showing that caption: a new secret is drawn into digits that are
    // hidden before the handler ends, and must never be heard.
    if (before != caption && !accessibleName().isEmpty()) {
        QMetaObject::invokeMethod(this, [this, before, caption] {
            if (text() == caption && isVisibleTo(window())) {
                QAccessibleTextUpdateEvent changed(this, 0, before, caption);
                QAccessible::updateAccessibility(&changed);
            }
        }, Qt::QueuedConnection);
    }
}

void CaptionLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}

}  // namespace window
