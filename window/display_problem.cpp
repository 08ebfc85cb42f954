// Checks that the display Qt is going to use can be opened, without Qt.
#include "display_problem.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace window {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// The platforms Qt will try, in order: QT_QPA_PLATFORM's list if set, else
// Wayland first in a Wayland session, else X11.
std::vector<std::string> candidatePlatforms() {
    std::vector<std::string> platforms;
    std::string list = environment("QT_QPA_PLATFORM");
    if (list.empty()) {
        list = environment("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb";
    }
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        std::string entry = list.substr(start, end - start);
        entry = entry.substr(0, entry.find(':'));  // drop the plugin's options
        if (!entry.empty()) {
            platforms.push_back(entry);
        }
        start = end + 1;
    }
    return platforms;
}

std::optional<std::string> x11Problem(XcbConnection* keepOpen) {
    const std::string display = environment("DISPLAY");
    if (display.empty()) {
        return "no X display: DISPLAY is not set";
    }
    XcbConnection connection(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection.get()) != 0) {
        return "cannot connect to the X display \"" + display + "\"";
    }
    if (keepOpen != nullptr) {
        *keepOpen = std::move(connection);
    }
    return std::nullopt;
}

std::optional<std::string> waylandProblem() {
    std::string socketName = environment("WAYLAND_DISPLAY");
    if (socketName.empty()) {
        socketName = "wayland-0";
    }
    std::string path = socketName;
    if (path.front() != '/') {
        const std::string runtime = environment("XDG_RUNTIME_DIR");
        if (runtime.empty()) {
            return "no Wayland display: XDG_RUNTIME_DIR is not set";
        }
        path = runtime + "/" + socketName;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof(address.sun_path)) {
        return "no Wayland display: the socket path is too long";
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool connected =
        fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    if (!connected) {
        return "cannot connect to the Wayland display \"" + socketName + "\"";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> displayProblem(XcbConnection* keepOpen) {
    std::optional<std::string> firstProblem;
    for (const std::string& platform : candidatePlatforms()) {
        std::optional<std::string> problem;
        if (platform == "xcb") {
            problem = x11Problem(keepOpen);
        } else if (platform.rfind("wayland", 0) == 0) {
            problem = waylandProblem();
        } else {
            // offscreen, minimal, vnc, framebuffers: nothing to connect to first.
            return std::nullopt;
        }
        if (!problem) {
            return std::nullopt;
        }
        if (!firstProblem) {
            firstProblem = problem;
        }
    }
    return firstProblem.value_or("no display platform is configured");
}

}  // namespace window
