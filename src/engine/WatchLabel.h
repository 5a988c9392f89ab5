#pragma once

#include <SDL.h>

#include <functional>
#include <memory>
#include <string>

#include "gfx/Text.h"

// The line over a watched game that says it is a replay and at what speed. It is shown, never
// kept: the frame under it is put back after the present, so the watched frames stay exactly
// the frames that were recorded.
class WatchLabel {
  public:
    // Draws text over the frame, presents, and puts the frame's pixels back. An empty text only
    // presents.
    void Present(SDL_Surface* frame, const std::string& text, const std::function<void()>& present);

  private:
    std::unique_ptr<Text>
        label;  // made at the first watch: a run that never watches never needs it
    std::string rendered;
};
