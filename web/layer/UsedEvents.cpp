// The browser's IgnoreUnusedEvents and PollUsedEvent (src/engine/UsedEvents.h). The browser's SDL
// has no SDL_EventState, so the kinds the game takes (kUsedEvents) are picked out as the frame
// takes its event, the others passed over; and it tells of focus and of a hidden tab as window
// events, which the desktop game hears of as activation events.
#include "engine/UsedEvents.h"

namespace {
// Whether a window event is one the game hears of; if so, it is turned into that.
bool TurnIntoActivation(SDL_Event& event) {
    SDL_Event active{};
    active.type = SDL_ACTIVEEVENT;
    switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
            active.active.state = SDL_APPINPUTFOCUS;
            active.active.gain = event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
            break;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_HIDDEN:
            active.active.state = SDL_APPACTIVE;
            active.active.gain = event.window.event == SDL_WINDOWEVENT_SHOWN;
            break;
        default:
            return false;
    }
    event = active;
    return true;
}
}  // namespace

void IgnoreUnusedEvents() {}

// Passing over an event still brings the keyboard state up to date, as ignoring one does on the
// desktop.
bool PollUsedEvent(SDL_Event& event) {
    while (SDL_PollEvent(&event) == 1) {
        if (event.type == SDL_WINDOWEVENT ? TurnIntoActivation(event) : IsUsedEvent(event.type)) {
            return true;
        }
    }
    return false;
}
