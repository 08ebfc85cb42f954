// Grid lines fill their 1-pixel-thick rectangle.
#include "grid_line.h"

#include <QPainter>

namespace window {

GridLine::GridLine(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void GridLine::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

}  // namespace window
