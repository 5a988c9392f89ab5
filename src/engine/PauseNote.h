#pragma once

#include <SDL.h>

#include <memory>

#include "gfx/Text.h"

// The note across a paused field that says how to go on.
class PauseNote {
  public:
    // Centred across a field this wide, in the font of assets, which outlive the note.
    PauseNote(int fieldWidth, Assets& assets) : fieldWidth(fieldWidth), assets(assets) {}

    void Draw(SDL_Surface* screen);

  private:
    int fieldWidth;
    Assets& assets;
    std::unique_ptr<Text> note;  // made at the first pause: a game never paused never needs it
};
