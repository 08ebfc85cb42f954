// Qt's platform start failing as the display check fails: one line and
// status 1, never Qt's abort.
#pragma once

namespace window {

// While it lives, a fatal message from Qt (its platform plugin could not
// connect although the display check had: the display went away in between,
// or refused a second client) ends the program with one line on stderr,
// "`programName`: the display platform did not start: <reason>", and exit
// status 1, where Qt would abort and dump core. Every other message is held
// and handed on, in order, when the watch ends. Meant to span the
// QApplication's construction, on the main thread.
class PlatformStartWatch {
public:
    explicit PlatformStartWatch(const char* programName);
    ~PlatformStartWatch();
    PlatformStartWatch(const PlatformStartWatch&) = delete;
    PlatformStartWatch& operator=(const PlatformStartWatch&) = delete;
};

}  // namespace window
