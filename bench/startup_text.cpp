// A second yardstick: the bare window plus the least text the game shows, one
// Hebrew caption in the default font and one in the board's font. The gap
// between this and the baseline is what drawing any Hebrew text costs a Qt
// program on this machine (font database, font loading, shaping, glyphs);
// the gap between the game and this is the game's own.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

#include "first_paint.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    constexpr int kWidth = 400;
    constexpr int kHeight = 510;
    window.setFixedSize(kWidth, kHeight);

    auto* dialogText = new QLabel(QStringLiteral(u"מה המספר"), &window);
    dialogText->move(10, 10);
    auto* boardText = new QLabel(QStringLiteral(u"פגיעה"), &window);
    QFont boardFont(QStringLiteral("David CLM"));
    constexpr double kBoardPoints = 21.75;
    boardFont.setPointSizeF(kBoardPoints);
    boardText->setFont(boardFont);
    boardText->move(10, 60);

    bench::quitAfterFirstPaint(window);
    window.show();
    return QApplication::exec();
}
