// The moment a window is first on screen, as the start-up benchmark reads it.
#pragma once

class QWidget;

namespace bench {

// Once `window` has painted for the first time (it and all its children, and
// the result handed to the display), prints "first-paint-ns N" on stdout,
// N being CLOCK_MONOTONIC in nanoseconds, and quits the application. The
// baseline and the game use this same probe, so whatever it costs is paid
// by both.
void quitAfterFirstPaint(QWidget& window);

}  // namespace bench
