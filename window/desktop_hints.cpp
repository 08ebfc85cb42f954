// Start-up position and the X11 skip-taskbar state.
#include "desktop_hints.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "x11_connection.h"

namespace window {

namespace {

bool hasAtom(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
             xcb_atom_t atom) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 1024);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_ATOM) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / static_cast<int>(sizeof(xcb_atom_t));
    return std::find(atoms, atoms + count, atom) != atoms + count;
}

}  // namespace

void centreOnScreen(QWidget& window) {
    // Qt would drop the request there without a word; it is not made at all.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return;
    }
    const QScreen* screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           screen->availableGeometry()));
}

void keepOffTaskBar(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    // Without a window manager nobody removes the state on unmapping: add it once.
    if (hasAtom(connection, id, state, skipTaskbar)) {
        return;
    }
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1,
                        &skipTaskbar);
    xcb_flush(connection);
}

}  // namespace window
