// The browser's own IgnoreUnusedEvents, in place of the desktop's: the browser's SDL has no
// SDL_EventState, so the same kinds (kUsedEvents) are kept out of the game's way here, by passing
// over the others when the game takes its one event a frame.
#include "engine/UsedEvents.h"

#include <emscripten.h>

#include "SdlWeb.h"

namespace {
// The browser tells of focus and of a hidden tab as window events; the desktop game hears of
// them as activation events.
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

// Whether the game is to see this event, turned into the desktop's kind where they differ.
extern "C" EMSCRIPTEN_KEEPALIVE int WebGameTakesEvent(SDL_Event* event) {
    if (event->type == SDL_WINDOWEVENT) {
        return TurnIntoActivation(*event) ? 1 : 0;
    }
    return IsUsedEvent(event->type) ? 1 : 0;
}

// clang-format off
EM_JS(void, PassOverUnusedEvents, (), {
    var poll = SDL.pollEvent;
    SDL.pollEvent = function(event) {
        if (!event) {
            return poll(event);
        }
        // Passing over an event still brings the keyboard state up to date, as ignoring one
        // does on the desktop.
        while (poll(event)) {
            if (_WebGameTakesEvent(event)) {
                return 1;
            }
        }
        return 0;
    };
});
// clang-format on

void IgnoreUnusedEvents() {
    PassOverUnusedEvents();
}
