// The codes panel's frame and title.
#include "caption_frame.h"

#include <QPainter>
#include <qdrawutil.h>

namespace window {

namespace {

constexpr int kTitleLeft = 6;     // pixels from the frame's left edge
constexpr int kTitlePadding = 2;  // back colour on each side of the title

}  // namespace

CaptionFrame::CaptionFrame(QWidget* parent) : QGroupBox(parent) { setFocusPolicy(Qt::NoFocus); }

void CaptionFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    // The back colour is already filled (autoFillBackground).
    const QRect edge = rect().adjusted(0, metrics.height() / 2, 0, 0);
    qDrawShadeRect(&painter, edge, palette(), true, 1, 0);
    if (title().isEmpty()) {
        return;
    }
    const QRect titleArea(kTitleLeft, 0, metrics.horizontalAdvance(title()) + 2 * kTitlePadding,
                          metrics.height());
    painter.fillRect(titleArea, palette().color(QPalette::Window));
    // The panel is never disabled: its title is always in the active colour.
    painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
    painter.drawText(titleArea.adjusted(kTitlePadding, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::AlignAbsolute | Qt::TextSingleLine, title());
}

}  // namespace window
