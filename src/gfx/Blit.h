#pragma once

#include <SDL.h>

// Copies the whole of picture onto screen with its top-left corner at (x, y); SDL clips whatever
// falls outside. A null picture draws nothing.
void BlitAt(SDL_Surface* picture, SDL_Surface* screen, int x, int y);
