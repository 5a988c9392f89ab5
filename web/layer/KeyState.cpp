#include "SdlWeb.h"

extern "C" Uint8* SDL_GetKeyState(int* numkeys) {
    // The browser's SDL marks a key held only when its event leaves the queue, one a frame. The
    // desktop marks it as soon as the event arrives: bring the marks up to date the same way, so
    // that a tap shorter than the queue's backlog moves nothing there and here alike.
    SDL_PumpEvents();
    return const_cast<Uint8*>(SDL_GetKeyboardState(numkeys));
}
