// The X server web views draw on when the process has no display: our own Xvfb on a free
// display number, started on first need and ended when the process exits (or, should the
// process die without exiting, when the kernel tells it its parent is gone).
#pragma once

#include "platform/foundation/ErrorOr.h"

#include <string>
#include <sys/types.h>

class XvfbServer {
public:
    // The display to use: DISPLAY when it is set, else that of our own server, started
    // now if need be (DISPLAY then names it, for the toolkit). Main thread only.
    static ErrorOr<std::string> ensureDisplay();

private:
    XvfbServer() = default;
    ~XvfbServer();
    static XvfbServer& shared();
    // Starts Xvfb, which writes the display number it chose to a pipe once it listens.
    ErrorOr<std::string> start();

    pid_t pid_ = -1;
    std::string display_;
};
