// A Weston module for the end-to-end tests: on SIGUSR1 the compositor asks
// every window to close, as it does when the player clicks a close button.
// Headless Weston has no input devices, so there is no other way to ask.
// (SIGUSR2 is taken: Weston 14 ends on it, as on SIGTERM.)
#include <csignal>

extern "C" {
// The desktop API's header, which moved between Weston releases (CMakeLists.txt).
#include WESTON_DESKTOP_HEADER
#include <libweston/libweston.h>
}

namespace {

int closeEveryWindow(int /*signalNumber*/, void* data) {
    auto* compositor = static_cast<weston_compositor*>(data);
    weston_layer* layer = nullptr;
    wl_list_for_each(layer, &compositor->layer_list, link) {
        weston_view* view = nullptr;
        wl_list_for_each(view, &layer->view_list.link, layer_link.link) {
            if (weston_surface_is_desktop_surface(view->surface)) {
                weston_desktop_surface_close(weston_surface_get_desktop_surface(view->surface));
            }
        }
    }
    return 0;
}

}  // namespace

// Weston's entry point for a module given with --modules, as Weston declares it.
extern "C" WL_EXPORT int wet_module_init(weston_compositor* compositor, int* /*argc*/,
                                         char* /*argv*/[]) {
    wl_event_loop* loop = wl_display_get_event_loop(compositor->wl_display);
    return wl_event_loop_add_signal(loop, SIGUSR1, closeEveryWindow, compositor) != nullptr ? 0 : -1;
}
