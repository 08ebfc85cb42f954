// A frame with a caption: an etched rectangle on the frame's own back colour,
// its title at the top-left breaking the rectangle's top edge.
#pragma once

#include <QGroupBox>

namespace window {

// A QGroupBox so that it reads as a group with a title to assistive tools;
// painted by hand because styles shade a group box's inside, and the frame
// must show exactly its back colour.
class CaptionFrame : public QGroupBox {
public:
    explicit CaptionFrame(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace window
