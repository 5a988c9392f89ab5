#pragma once

#include <SDL.h>

#include <memory>

#include "gfx/Text.h"

// The note across a paused field that says how to go on.
class PauseNote {
  public:
    // Centred across a field this wide, in the font of folder; a font that will not open goes to
    // missing. Both outlive the note.
    PauseNote(int fieldWidth, const DataFolder& folder, MissingFiles& missing)
        : fieldWidth(fieldWidth), folder(folder), missing(missing) {}

    void Draw(SDL_Surface* screen);

  private:
    int fieldWidth;
    const DataFolder& folder;
    MissingFiles& missing;
    std::unique_ptr<Text> note;  // made at the first pause: a game never paused never needs it
};
