#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

// Shows a 32-bit picture larger by a ratio that is no whole number, sharp: as if each pixel were
// first enlarged to a block of the next whole scale and that were then shrunk smoothly, so that
// every pixel of the result is the average of the picture it covers. Inside a pixel of the picture
// the colour stays exactly its own; only where two meet does one row or column blend them. The
// weights are worked out once for a size; each frame is then two passes of adds and shifts.
class SharpScale {
  public:
    SharpScale(int fromWidth, int fromHeight, int toWidth, int toHeight);

    // Draws from (of the size given above) into to, its top-left corner at (left, top), in the same
    // pixel layout. Nothing when the sizes do not match or the result would not fit.
    void Draw(SDL_Surface& from, SDL_Surface& to, int left, int top);

    // Where one row or column of the result takes its colour: from pixel first of the picture,
    // and from the one after it by what weight leaves (out of kWhole).
    struct Tap {
        int first = 0;
        int weight = 0;
    };
    static constexpr int kWhole = 256;
    // The taps of a line of size from shown at size to.
    static std::vector<Tap> Taps(int from, int to);

  private:
    int fromWidth;
    int fromHeight;
    int toWidth;
    int toHeight;
    std::vector<Tap> across;
    std::vector<Tap> down;
    std::vector<std::uint32_t> widened;  // each row of the picture at the result's width
};
