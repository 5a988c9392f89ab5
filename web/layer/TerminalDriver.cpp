// The browser's game always has its page's canvas to draw on, and no terminal to fall back on.
#include "engine/TerminalDriver.h"

bool NoDisplayToOpen(const char* /*asked*/, const char* /*x11*/, const char* /*wayland*/) {
    return false;
}

bool FellBackOnTerminal(const char* /*asked*/, const char* /*chosen*/) {
    return false;
}
