// Form1: window settings, then controls, binding, events, and the Load.
#include "form1.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

#include "announcer.h"
#include "caption_label.h"
#include "cell_binding.h"
#include "control_factory.h"
#include "desktop_hints.h"
#include "images.h"
#include "layout.h"
#include "qt_strings.h"
#include "result_news.h"

namespace window {

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      messages_(*this),
      game_(messages_, random_),
      // Whole, though larger than the client area: where no window manager
      // holds the fixed size, the window can be made larger, and it then
      // shows more of the picture.
      background_(loadBackgroundPicture()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(form::kForm1Caption));
    setFixedSize(form::pixels(form::kForm1ClientWidth), form::pixels(form::kForm1ClientHeight));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(form::kForm1BackColour));
    setPalette(palette);
    setAutoFillBackground(true);
    if (const QIcon icon = loadWindowIcon(); !icon.isNull()) {
        setWindowIcon(icon);
    }

    buildControls(*this);
    binding_ = std::make_unique<CellBinding>(game_.board(), *this);
    // After the controls: the tree the assistive tools walk keeps its order.
    announcer_ = std::make_unique<Announcer>(*this);
    routeEvents();

    game_.load();

    centreOnScreen(*this);
    findChild<QLineEdit*>(toQString(game::cellName(game::Cell::Text1)))->setFocus();
}

Form1::~Form1() = default;

void Form1::play(const std::function<void()>& event) {
    const form::ResultNews news(game_.board());
    event();
    announcer_->announce(news.since(game_.board()));
}

void Form1::routeEvents() {
    for (std::size_t i = 0; i < game::kButtonCount; ++i) {
        const auto button = static_cast<game::Button>(i);
        auto* control = findChild<QPushButton*>(toQString(game::buttonName(button)));
        Q_ASSERT(control != nullptr);
        connect(control, &QPushButton::clicked, this,
                [this, button] { play([this, button] { game_.click(button); }); });
    }
    auto* label6 = findChild<CaptionLabel*>(QStringLiteral("Label6"));
    Q_ASSERT(label6 != nullptr);
    connect(label6, &CaptionLabel::doubleClicked, this,
            [this] { play([this] { game_.doubleClickLabel6(); }); });
}

void Form1::paintEvent(QPaintEvent* /*event*/) {
    // The back colour is already filled (autoFillBackground); the picture
    // covers it wherever it reaches.
    if (!background_.isNull()) {
        QPainter painter(this);
        painter.drawPixmap(0, 0, background_);
    }
}

void Form1::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        keepFrameFixed(*this);
        keepOffTaskBar(*this);
    }
    QWidget::showEvent(event);
}

}  // namespace window
