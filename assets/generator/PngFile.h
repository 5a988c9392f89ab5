#pragma once

#include <string>

#include "Canvas.h"

// Writes the canvas as an 8-bit RGB PNG. The bytes depend on the pixels alone: no time stamp,
// no text chunks, fixed compression, so rebuilding an unchanged picture leaves its file as it was.
// False when the file cannot be written.
bool WritePng(const Canvas& canvas, const std::string& path);
