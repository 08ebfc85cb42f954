// Buttons with wrapping captions.
#include "caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace window {

CaptionButton::CaptionButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
}

void CaptionButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    style()->drawItemText(&painter, area, Qt::AlignCenter | Qt::TextWordWrap, option.palette,
                          isEnabled(), caption, QPalette::ButtonText);
}

}  // namespace window
