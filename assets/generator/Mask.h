#pragma once

#include <cstdint>
#include <vector>

// How much of each pixel a shape covers, 0 (none) to 255 (all): the shape of a piece of lettering.
class Mask {
  public:
    Mask(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }
    int At(int x, int y) const;  // 0 outside the mask
    void Set(int x, int y, int coverage);

    // The shape grown by radius pixels in every direction: a rim for lettering to stand out.
    Mask Grown(int radius) const;
    // Every pixel fully in or fully out, then each pixel made a factor-by-factor block: the
    // chunky look of an old arcade screen.
    Mask Blocky(int factor) const;
    // Cut down to the rows and columns that hold ink, so lettering can be placed by its letters
    // rather than by the font's line box.
    Mask Trimmed() const;

  private:
    int width;
    int height;
    std::vector<std::uint8_t> coverage;
};
