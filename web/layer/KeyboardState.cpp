// The browser's KeyboardState (src/engine/KeyboardState.h). Its SDL marks a key held only when
// the key's event leaves the queue, one a frame, where the desktop's marks it as soon as the event
// arrives: the marks are brought up to date first, so that a tap shorter than the queue's backlog
// moves nothing there and here alike.
#include "engine/KeyboardState.h"

Uint8* KeyboardState(int* count) {
    SDL_PumpEvents();
    return const_cast<Uint8*>(SDL_GetKeyboardState(count));
}
