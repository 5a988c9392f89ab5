#pragma once

#include <SDL.h>

#include <memory>

#include "gfx/Text.h"

class Assets;
class ScreenEngine;

// The points of the game just played, as a line centred on a row of a screen after the game. It
// shows only where the player's own settings are in use: the game started bare draws these
// screens as it always has.
class PointsLine {
  public:
    // In the font of assets, which outlive the line.
    PointsLine(int y, Assets& assets) : y(y), assets(assets) {}

    // The line is made at the first drawing, once the screen knows its engine and its points.
    void Draw(SDL_Surface* screen, const ScreenEngine* engine, int points);

  private:
    int y;
    Assets& assets;
    bool made = false;
    std::unique_ptr<Text> text;  // none without the player's settings
};
