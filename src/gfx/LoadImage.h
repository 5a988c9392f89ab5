#pragma once

#include <SDL.h>

#include <string>

class DataFolder;
class MissingFiles;
class PictureShelf;

// The picture loader: a picture of folder in the screen's format with orange (255, 128, 0) as the
// transparent colour. The caller owns the result; null when the file is missing or unreadable,
// which is reported to missing, or when no window is open to give the format. Each build compiles
// one implementation, named in cmake/PlatformSources.cmake: the desktop decodes the file at every
// load (src/gfx/LoadImage.cpp) and keeps nothing on the shelf, the browser copies it from the
// shelf (web/layer/PictureShelf.cpp).
SDL_Surface* LoadImage(const std::string& path, const DataFolder& folder, MissingFiles& missing,
                       PictureShelf& shelf);
