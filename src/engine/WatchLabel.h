#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "gfx/Text.h"

// The line over a watched game that says it is a replay and at what speed. It stands on a dark
// box of its own, drawn into the frame last: nothing is read back from the window (in the browser
// that read is slow), and the watched game's next frame paints its whole picture again anyway.
// A paused watch shows the same frame again and again: the box, always the same for the same
// line, keeps the line from blending over itself.
class WatchLabel {
  public:
    // In the font of assets, which outlive the label.
    explicit WatchLabel(Assets& assets) : assets(assets) {}

    // Draws text on its box over the frame; an empty text draws nothing.
    void Draw(SDL_Surface* frame, const std::string& text);
    // Where the last Draw drew, box included; empty when it drew nothing.
    SDL_Rect Area() const { return area; }

  private:
    Assets& assets;
    std::unique_ptr<Text> label;  // made at the first watch: a run that never watches needs none
    std::string rendered;
    SDL_Rect area{};
};
