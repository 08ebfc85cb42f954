// Start-up's read-only pages handed back once Qt is up, so that they do not
// count in the resident memory the window starts with.
#pragma once

namespace window {

// Drops from the process's resident set every page of the read-only segments
// (code, constants, and the symbol and relocation tables the dynamic loader
// read) of the program and of each library loaded so far. Those pages are
// never written, so each comes back unchanged from the file, through the page
// cache, when it is next used; what only start-up used (the loader's tables,
// initialisation code) stays out. Nothing is dropped while a debugger is
// attached, whose breakpoints are written into such pages, nor in a library
// whose code is relocated in place. Linux only; elsewhere it does nothing.
void releaseStartupPages();

}  // namespace window
