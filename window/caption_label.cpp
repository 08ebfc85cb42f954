// Board labels: text from the top-left, never wrapped, centred or mirrored.
#include "caption_label.h"

#include <QFontMetrics>
#include <QMouseEvent>

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
    const QFontMetrics metrics(font());
    const int frame = 2 * frameWidth();
    return {metrics.horizontalAdvance(caption) + frame, metrics.height() + frame};
}

void CaptionLabel::setCaption(const QString& caption) {
    if (autoSize_) {
        resize(sizeForCaption(caption));
    }
    setText(caption);
}

void CaptionLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}

}  // namespace window
