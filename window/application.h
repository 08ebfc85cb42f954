// What the program sets up around Form1: the global settings and the whole run.
#pragma once

#include <QApplication>
#include <functional>

namespace window {

// Application name, desktop file name, window icon, and "David CLM" standing
// in for a missing "David".
void configureApplication(QApplication& application);

// The whole program: the display check, the application and Form1, until the
// window closes. `beforeShow` runs on the window just before it is shown (the
// start-up benchmark watches for the first paint there). Returns the exit
// status; a missing display is one line on stderr, prefixed `programName`.
int runGame(const char* programName, int argc, char** argv,
            const std::function<void(QWidget&)>& beforeShow = {});

}  // namespace window
