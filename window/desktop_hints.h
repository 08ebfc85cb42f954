// What the window asks of the desktop: its place, a frame that cannot resize, and
// its absence from the task bar.
// A Wayland client can ask for neither: the compositor places every window and
// decides what its task bar shows. There both are left to it, with no request
// made, no X11 connection opened and nothing printed.
#pragma once

#include <QWidget>

namespace window {

// Moves the window so that its client area is centred on the available area
// of the screen it opens on (the frame is not known before mapping). Not on
// Wayland, where the compositor places it.
void centreOnScreen(QWidget& window);

// Asks task bars to show no button for the window. Only on X11, and only
// effective before the window is mapped: Qt merges the state we add into the
// _NET_WM_STATE it sets when mapping. Elsewhere it does nothing.
void keepOffTaskBar(QWidget& window);

// Tells Motif-minded window managers that the frame is fixed: moving, the
// system menu and closing, with no resize function, handles or min/max
// buttons. Qt offers resizing for every framed window; the size hints alone
// hold the size only where a manager honours them. Only on X11, before the
// window is mapped; elsewhere it does nothing.
void keepFrameFixed(QWidget& window);

}  // namespace window
