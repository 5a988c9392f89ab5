#pragma once

#include <cstddef>

// The game's icon as the bytes of a PNG file, built into the game from the picture generator's
// 32-pixel drawing (assets/icons/arcade-game-32.png), so the window has its icon wherever the game
// runs without the game needing one more file to start.
extern const unsigned char kWindowIconPng[];
extern const std::size_t kWindowIconPngSize;

// Gives the window to come its icon; SDL takes it only before the video mode is set. Without the
// icon the window simply has none.
void SetWindowIcon();
