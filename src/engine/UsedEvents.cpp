#include "engine/UsedEvents.h"

void IgnoreUnusedEvents() {
    for (int type = SDL_NOEVENT + 1; type < SDL_NUMEVENTS; ++type) {
        if (!IsUsedEvent(static_cast<Uint32>(type))) {
            SDL_EventState(static_cast<Uint8>(type), SDL_IGNORE);
        }
    }
}

bool PollUsedEvent(SDL_Event& event) {
    return SDL_PollEvent(&event) == 1;
}
