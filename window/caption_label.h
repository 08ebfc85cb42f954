// A label of the board: plain text drawn from its top-left, optionally sized
// to its text, optionally raising a double-click.
#pragma once

#include <QLabel>

namespace window {

class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    // An autosized label keeps its left and top and takes the size of its
    // caption (plus its border) on every change of caption.
    CaptionLabel(bool autoSize, QWidget* parent);

    bool autoSize() const { return autoSize_; }

    // Shows `caption`; resizes the label first when it is autosized.
    void setCaption(const QString& caption);

    // The size an autosized label takes for `caption`: its advance and the
    // font's line height, each rounded up to whole pixels, plus the frame on
    // every side.
    QSize sizeForCaption(const QString& caption) const;

signals:
    // A double-click of the left button; a single click raises nothing.
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool autoSize_;
};

}  // namespace window
