// The X11 connection of the running application, and its atoms.
#pragma once

#include <xcb/xcb.h>

namespace window {

// The application's X11 connection (Qt's own; none is opened here), or
// nullptr on any platform but xcb: Wayland, offscreen (which offers the X11
// interface too, without a connection) and the rest.
xcb_connection_t* x11Connection();

// The atom named `name`, or XCB_ATOM_NONE if the server gave none.
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name);

}  // namespace window
