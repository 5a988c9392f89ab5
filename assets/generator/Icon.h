#pragma once

#include <vector>

#include "Canvas.h"
#include "PngFile.h"

// The sizes the icon is drawn in: 32 for the game's own window, the rest for the desktop.
constexpr int kIconSizes[] = {32, 48, 64, 128, 256};
constexpr int kIconDrawnSize = 256;

// The game's icon at its largest: a rounded tile of night sky with an airplane, the cannon and
// its shots, drawn from the sprites' own pictures. Outside the tile is the key colour.
Canvas DrawIcon();

// The icon at a smaller size, every pixel the average of the area it covers, the key colour
// counting as fully transparent: a hard-edged drawing keeps smooth edges when it shrinks.
std::vector<Rgba> ShrinkIcon(const Canvas& icon, int size);
