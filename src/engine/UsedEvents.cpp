#include "engine/UsedEvents.h"

#include "engine/StopSignals.h"

void IgnoreUnusedEvents() {
    for (int type = SDL_NOEVENT + 1; type < SDL_NUMEVENTS; ++type) {
        if (!IsUsedEvent(static_cast<Uint32>(type))) {
            SDL_EventState(static_cast<Uint8>(type), SDL_IGNORE);
        }
    }
}

bool PollUsedEvent(SDL_Event& event) {
    // A stop signal held back since it came is now SDL's quit event, behind whatever came before
    // it, as SDL's own handler would have queued it; a queue too full to take it still ends the
    // game in this frame.
    if (StopSignals::Take()) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        if (SDL_PushEvent(&quit) != 0) {
            event = quit;
            return true;
        }
    }
    return SDL_PollEvent(&event) == 1;
}
