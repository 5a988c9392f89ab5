#include "engine/KeyboardState.h"

Uint8* KeyboardState(int* count) {
    return SDL_GetKeyState(count);
}
