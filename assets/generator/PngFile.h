#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Canvas.h"

// Writes the canvas as an 8-bit RGB PNG. The bytes depend on the pixels alone: no time stamp,
// no text chunks, fixed compression, so rebuilding an unchanged picture leaves its file as it was.
// False when the file cannot be written.
bool WritePng(const Canvas& canvas, const std::string& path);

// A pixel with its coverage, for the icons: unlike the game's pictures they are shown by the
// desktop, which understands real transparency.
struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;
};

// The same for a square picture with an alpha channel.
bool WriteRgbaPng(const std::vector<Rgba>& pixels, int size, const std::string& path);
