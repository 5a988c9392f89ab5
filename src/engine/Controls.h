#pragma once

#include <SDL.h>

#include "engine/GameKey.h"

// What one event asks of the engine.
struct Command {
    enum Kind {
        None,
        Quit,
        FullScreen,
        ScaleStep,  // step: +1 or -1
        Mute,
        Pause,        // on, or off again
        PauseInPlay,  // on only, and only in play: the window lost the focus
        TypeName,     // the key is a letter of the name, or Backspace or Return
        Key,          // key goes to the current screen
    };
    Kind kind = None;
    int step = 0;
    GameKey key = KeyEnter;
};

// What the engine is doing when an event comes: it decides what a key means.
struct Mode {
    bool typingName = false;
    bool paused = false;
    bool inPlay = false;  // the current screen may be paused
};

// Which key does what on which screen, in which mode: the one table of the game's input. Held
// arrows are read as state, not routed: they reach the screen in every frame but a paused one.
Command Route(const SDL_Event& event, Mode mode);
