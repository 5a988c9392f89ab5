#pragma once

#include <SDL.h>

#include <string>

class DataFolder;
class MissingFiles;

// The picture loader: a picture of folder in the screen's format with orange (255, 128, 0) as the
// transparent colour. The caller owns the result; null when the file is missing or unreadable,
// which is reported to missing. It needs the window's format: callers ask whether there is a window
// first (ScreenEngine::load_image). Each build compiles one implementation, named in
// cmake/PlatformSources.cmake: the desktop decodes the file at every load (src/gfx/LoadImage.cpp),
// the browser copies it from the engine's PictureShelf (web/layer/PictureShelf.cpp).
SDL_Surface* LoadImage(const std::string& path, const DataFolder& folder, MissingFiles& missing);
