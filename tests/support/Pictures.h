#pragma once

#include <SDL.h>

#include <ostream>
#include <string>

// A picture file of one colour. It is written as BMP, which the picture loader recognises by
// its content whatever the file is called, so tests can stand it in for any of the game's PNGs.
void WriteSolidPicture(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b);

struct Rgb {
    Uint8 r;
    Uint8 g;
    Uint8 b;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "(" << int{colour.r} << ", " << int{colour.g} << ", " << int{colour.b} << ")";
}

// The colour of one pixel of a surface.
Rgb PixelAt(SDL_Surface* surface, int x, int y);
