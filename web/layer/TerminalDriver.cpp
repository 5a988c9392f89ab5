// The browser's game always has its page's canvas to draw on, and no terminal to fall back on.
#include "engine/TerminalDriver.h"

#include <SDL.h>

bool NoDisplayToOpen(const char* /*asked*/, const char* /*x11*/, const char* /*wayland*/) {
    return false;
}

bool StartSdlOnWindow(std::string& why) {
    if (SDL_Init(SDL_INIT_EVERYTHING) != -1) {
        return true;
    }
    why = std::string("SDL_Init failed: ") + SDL_GetError();
    return false;
}
