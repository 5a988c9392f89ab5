#pragma once

#include <string>
#include <vector>

#include "GameFacts.h"

// One grab of the game window, as plain RGB.
class Picture {
  public:
    Picture();

    facts::Rgb At(int x, int y) const { return pixels[y * facts::kWindowWidth + x]; }
    void Set(int x, int y, facts::Rgb colour) { pixels[y * facts::kWindowWidth + x] = colour; }
    bool SameAs(const Picture& other) const { return pixels == other.pixels; }

    // Writes a binary PPM; false if the file could not be written.
    bool SavePpm(const std::string& path) const;

  private:
    std::vector<facts::Rgb> pixels;
};
