// The game's one window: the board's sixty controls over the sky picture,
// bound to the Board and routing the player's events to the game's handlers.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <memory>

#include "game.h"
#include "qt_message_box.h"
#include "random_source.h"

namespace window {

class Announcer;
class CellBinding;

class Form1 : public QWidget {
    Q_OBJECT

public:
    // Builds every control, binds it to the Board and runs the Load (the first
    // secret is drawn) before the window is shown. Focus starts in Text1.
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The Board the window shows; read-only for whoever observes the window.
    const game::Board& board() const { return game_.board(); }

protected:
    // Back colour, then the picture at the top-left, 1:1, never scaled.
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void routeEvents();
    // Runs `event` on the game, then tells a screen reader what it showed.
    void play(const std::function<void()>& event);

    QtMessageBox messages_;
    game::SystemRandomSource random_;
    game::Game game_;
    QPixmap background_;
    std::unique_ptr<CellBinding> binding_;
    std::unique_ptr<Announcer> announcer_;
};

}  // namespace window
