#pragma once

#include <string>

#include "Canvas.h"
#include "Lettering.h"

// The lettering the screens use, opened once.
struct Fonts {
    explicit Fonts(const std::string& fontDir);
    bool AllOpen() const;

    Lettering title;       // chunky pixel letters for the screen titles
    Lettering smallTitle;  // the same, for a title that must fit a narrow strip
    Lettering heading;     // large plain letters
    Lettering body;        // the size of the game's own text, so labels share its baseline
    Lettering keycap;      // small letters on drawn keys
};

// The full-screen pictures, 640 by 480. Each leaves the places where the game writes its own
// magenta text dark and plain.
Canvas DrawPlayfield(const Fonts& fonts);
Canvas DrawMenu(const Fonts& fonts);
Canvas DrawGameOver(const Fonts& fonts);
Canvas DrawAddScore(const Fonts& fonts);
Canvas DrawShowScore(const Fonts& fonts);
