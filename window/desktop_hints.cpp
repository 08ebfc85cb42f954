// Start-up position, the X11 Motif frame hints and the skip-taskbar state.
#include "desktop_hints.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <array>
#include <cstdint>
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

// _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
constexpr std::uint32_t kHasFunctions = 1U << 0;
constexpr std::uint32_t kHasDecorations = 1U << 1;
constexpr std::uint32_t kMove = 1U << 2;
constexpr std::uint32_t kClose = 1U << 5;
constexpr std::uint32_t kBorder = 1U << 1;
constexpr std::uint32_t kTitle = 1U << 3;
constexpr std::uint32_t kMenu = 1U << 4;

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

void keepFrameFixed(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    const xcb_atom_t hints = internAtom(connection, "_MOTIF_WM_HINTS");
    if (hints == XCB_ATOM_NONE) {
        return;
    }
    // Replaces what Qt wrote when it made the window.
    const std::array<std::uint32_t, 5> fixed{kHasFunctions | kHasDecorations, kMove | kClose,
                                             kBorder | kTitle | kMenu, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                        hints, hints, 32, static_cast<std::uint32_t>(fixed.size()), fixed.data());
    xcb_flush(connection);
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
