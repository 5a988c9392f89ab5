#pragma once

#include <SDL.h>

#include <algorithm>
#include <iterator>

// The kinds of event the game takes, on the desktop and in the browser alike. Key releases are
// not among them: the held arrows are read from the keyboard state, which SDL keeps up to date
// whether or not it queues the releases. The gamepad's stick and hat are read as state too; only
// its button presses come as events.
constexpr Uint32 kUsedEvents[] = {SDL_KEYDOWN, SDL_QUIT, SDL_ACTIVEEVENT, SDL_JOYBUTTONDOWN};

inline bool IsUsedEvent(Uint32 type) {
    return std::find(std::begin(kUsedEvents), std::end(kUsedEvents), type) != std::end(kUsedEvents);
}

// Keeps every kind of event the game has no use for out of SDL's queue, and empties the queue. The
// loop takes one event a frame, so a moving mouse would otherwise hold back the keys behind it, and
// a full queue drops the keys that come after.
void IgnoreUnusedEvents();

// The one event a frame takes from SDL's queue, of a kind above; false when none waits. On the
// desktop SDL keeps the other kinds out of its queue and this is one SDL_PollEvent
// (src/engine/UsedEvents.cpp); the browser's SDL cannot, and passes over them here
// (web/layer/UsedEvents.cpp).
bool PollUsedEvent(SDL_Event& event);
