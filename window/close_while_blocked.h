// Closing the window while a message box is open. Qt drops the window
// manager's close request for a window that a modal box blocks; in this game
// closing the window ends the program in any state, a box open or not.
#pragma once

class QWidget;

namespace window {

// From now on, a close request for `form` (WM_DELETE_WINDOW, the title bar's
// close button) that arrives while a modal box blocks it dismisses the box,
// as OK would, and closes `form` as soon as the handler that opened the box
// has returned. Unblocked requests are left to Qt. Does nothing off X11.
void closeEvenWhenBlocked(QWidget& form);

}  // namespace window
