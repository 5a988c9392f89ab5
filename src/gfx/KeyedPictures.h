#pragma once

#include <SDL.h>

// Readies a picture with a key colour for its copies: the desktop's SDL would otherwise test the
// key at every pixel of every copy. The browser build makes the key's pixels transparent when a
// picture is loaded and has its own, empty, version (web/layer/KeyedPictures.cpp), as it has of
// CoversWhatItIsDrawnOver.
void PrepareKeyed(SDL_Surface* picture);
