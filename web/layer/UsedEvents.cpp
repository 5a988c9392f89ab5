// The browser's own IgnoreUnusedEvents, in place of the desktop's: the browser's SDL numbers its
// events otherwise and has no SDL_EventState, so the same kinds are kept out of the game's way
// here, by passing over the others when the game takes its one event a frame.
#include "engine/UsedEvents.h"

#include <emscripten.h>

#include "SdlWeb.h"

// clang-format off
EM_JS(void, PassOverEventsBut, (int keyDown, int quit, int window, int joyButton), {
    var used = [keyDown, quit, window, joyButton];
    var poll = SDL.pollEvent;
    SDL.pollEvent = function(event) {
        if (!event) {
            return poll(event);
        }
        // Passing over an event still brings the keyboard state up to date, as ignoring one
        // does on the desktop.
        while (poll(event)) {
            if (used.indexOf(HEAP32[event >> 2]) >= 0) {
                return 1;
            }
        }
        return 0;
    };
});
// clang-format on

void IgnoreUnusedEvents() {
    // The browser's focus events are window events: they stand for the desktop's activation.
    PassOverEventsBut(SDL_KEYDOWN, SDL_QUIT, SDL_WINDOWEVENT, SDL_JOYBUTTONDOWN);
}
