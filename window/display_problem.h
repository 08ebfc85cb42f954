// Whether the display Qt is about to use can be opened, checked without Qt.
#pragma once

#include <xcb/xcb.h>

#include <memory>
#include <optional>
#include <string>

namespace window {

struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using XcbConnection = std::unique_ptr<xcb_connection_t, XcbDisconnect>;

// Why no display can be reached, in one line, or nothing when the platform
// Qt will use (QT_QPA_PLATFORM, else the session's) can be opened. Must run
// before the QApplication exists: Qt's xcb plugin aborts the process when it
// cannot connect.
//
// On X11 the check's own connection is handed to `keepOpen` (when given), to
// be closed once Qt has connected: an X server started without -noreset
// resets when its last client leaves, and a connection made during the reset
// fails. Closed at once, the check could leave Qt such a server.
std::optional<std::string> displayProblem(XcbConnection* keepOpen = nullptr);

}  // namespace window
