#pragma once

#include <SDL.h>

#include <string>

// Loads a picture in the screen's format with orange (255, 128, 0) as the transparent colour.
// The caller owns the result; null when the file is missing or unreadable, which is reported.
SDL_Surface* LoadImage(const std::string& path);
