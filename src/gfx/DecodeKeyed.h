#pragma once

#include <SDL.h>

#include <string>

class DataFolder;
class MissingFiles;

// Reads a picture file into the screen's format with orange (255, 128, 0) as its transparent
// colour: what every load of a picture does on the desktop. The caller owns the result; null when
// the file is missing or unreadable, which is reported to missing.
SDL_Surface* DecodeKeyed(const std::string& path, const DataFolder& folder, MissingFiles& missing);
