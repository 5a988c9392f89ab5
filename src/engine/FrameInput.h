#pragma once

#include <SDL.h>

#include "engine/Gamepad.h"

// The ways the player holds this frame, from the arrow keys and the gamepad together.
struct HeldWays {
    bool left = false;
    bool right = false;
};

// Where each frame's input comes from: the one event it takes, then (unless paused) the ways
// held. The live input reads SDL; a replay feeds a recorded game.
class FrameInput {
  public:
    virtual ~FrameInput() = default;
    // The frame's one event; false when there is none.
    virtual bool NextEvent(SDL_Event& event) = 0;
    // pad is null while it does not count (there is none, or a name is being typed).
    virtual HeldWays Held(Gamepad* pad) = 0;
};

class LiveInput : public FrameInput {
  public:
    bool NextEvent(SDL_Event& event) override { return SDL_PollEvent(&event) == 1; }
    HeldWays Held(Gamepad* pad) override {
        const Uint8* keys = SDL_GetKeyState(nullptr);
        PadHeld held;
        if (pad != nullptr) {
            held = pad->Held();
        }
        // Keyboard and pad held together still make one step.
        return {keys[SDLK_LEFT] != 0 || held.left, keys[SDLK_RIGHT] != 0 || held.right};
    }
};
