#pragma once

#include <SDL.h>

// Copies a 32-bit picture into a larger one of the same pixel layout with each pixel as a
// scale x scale block, its top-left corner at (left, top). Nearest pixel only: the blocks stay
// sharp. Each row is widened once and then copied for the scale - 1 rows below it.
void Enlarge(SDL_Surface& from, SDL_Surface& to, int left, int top, int scale);
