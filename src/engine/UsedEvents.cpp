#include "engine/UsedEvents.h"

#include <SDL.h>

#include <algorithm>
#include <iterator>

namespace {
// Key releases are not among them: the held arrows are read from the keyboard state, which SDL
// keeps up to date whether or not it queues the releases. The gamepad's stick and hat are read
// as state too; only its button presses come as events.
constexpr Uint8 kUsedEvents[] = {SDL_KEYDOWN, SDL_QUIT, SDL_ACTIVEEVENT, SDL_JOYBUTTONDOWN};
}  // namespace

void IgnoreUnusedEvents() {
    for (int type = SDL_NOEVENT + 1; type < SDL_NUMEVENTS; ++type) {
        if (std::find(std::begin(kUsedEvents), std::end(kUsedEvents), type) ==
            std::end(kUsedEvents)) {
            SDL_EventState(static_cast<Uint8>(type), SDL_IGNORE);
        }
    }
}
