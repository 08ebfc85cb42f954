// The yardstick of the start-up benchmark: a bare Qt Widgets program that
// shows one empty window of the game's size, 400 x 510 pixels.
#include <QApplication>
#include <QWidget>

#include "first_paint.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    constexpr int kWidth = 400;
    constexpr int kHeight = 510;
    window.setFixedSize(kWidth, kHeight);
    bench::quitAfterFirstPaint(window);
    window.show();
    return QApplication::exec();
}
