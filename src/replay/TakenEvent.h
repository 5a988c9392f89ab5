#pragma once

#include <SDL.h>

#include "replay/Replay.h"

namespace replay {

// What a frame's event and held ways amount to for the game; event is null when there was none.
Taken TakenFrom(const SDL_Event* event, bool left, bool right);

// The event that the game answers as it answered the recorded one; false for no event.
bool EventFrom(const Taken& taken, SDL_Event& event);

}  // namespace replay
