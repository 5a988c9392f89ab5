#pragma once

#include <SDL.h>

// Copies the whole of picture onto screen with its top-left corner at (x, y); SDL clips whatever
// falls outside. A null picture draws nothing.
void BlitAt(SDL_Surface* picture, SDL_Surface* screen, int x, int y);

// Whether drawing picture replaces every pixel it lands on: no alpha to blend, and no pixel of its
// key colour left out (a key that no pixel has is dropped, as the first BlitAt does).
bool CoversWhatItIsDrawnOver(SDL_Surface* picture);

// Whether SDL keeps a keyed picture as runs of drawn pixels once it has been drawn. The layer over
// SDL 2 that stands in for SDL 1.2 does not.
bool KeepsRunLengths();
