// What the program sets up around Form1: the display check and global settings.
#pragma once

#include <QApplication>
#include <functional>
#include <optional>
#include <string>

namespace window {

// Why no display can be reached, in one line, or nothing when the platform
// Qt will use (QT_QPA_PLATFORM, else the session's) can be opened. Must run
// before the QApplication exists: Qt's xcb plugin aborts the process when it
// cannot connect. The arguments are ignored, like the rest of the command line.
std::optional<std::string> displayProblem(int argc, char** argv);

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
