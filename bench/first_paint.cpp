// Watches the window's paint events; the report waits for the event loop to
// come back, by which time the whole tree is painted and flushed.
#include "first_paint.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace bench {

namespace {

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    constexpr long long kNanosecondsPerSecond = 1'000'000'000;
    return static_cast<long long>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // The paint of the top-level window starts one pass that paints
            // every child and then flushes to the display; a queued call runs
            // after that pass.
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    std::printf("first-paint-ns %lld\n", monotonicNanoseconds());
                    std::fflush(stdout);
                    QApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

}  // namespace

void quitAfterFirstPaint(QWidget& window) {
    window.installEventFilter(new FirstPaintProbe(&window));
}

}  // namespace bench
