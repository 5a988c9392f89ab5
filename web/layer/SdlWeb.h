#pragma once

// Read before every source of the browser build. The browser's SDL speaks the 1.2 calls the game
// makes but its headers leave out this one; the layer in this folder provides it.
#include <SDL.h>

#ifdef __cplusplus
extern "C" {
#endif

// The keys held down now, indexed by key code.
Uint8* SDL_GetKeyState(int* numkeys);

#ifdef __cplusplus
}
#endif
