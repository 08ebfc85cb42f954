// One line of the board's grid: a solid 1-pixel line in the window-text colour.
#pragma once

#include <QWidget>

namespace window {

// A widget rather than a stroke painted by the window, so that lines take
// their place in the stacking order among the labels.
class GridLine : public QWidget {
public:
    explicit GridLine(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace window
