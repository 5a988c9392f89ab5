#pragma once

#include <SDL.h>

#include "engine/Gamepad.h"
#include "engine/KeyBindings.h"
#include "engine/KeyboardState.h"
#include "engine/UsedEvents.h"

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
    // pad and bound are null while they do not count (there is none, or a name is being typed).
    virtual HeldWays Held(Gamepad* pad, const KeyBindings* bound) = 0;
    // Whether the events are a recorded game's rather than the player's own.
    virtual bool Recorded() const { return false; }
};

class LiveInput : public FrameInput {
  public:
    bool NextEvent(SDL_Event& event) override { return PollUsedEvent(event); }
    HeldWays Held(Gamepad* pad, const KeyBindings* bound) override {
        const Uint8* keys = KeyboardState();
        PadHeld held;
        if (pad != nullptr) {
            held = pad->Held();
        }
        // Keyboard and pad held together still make one step.
        if (bound != nullptr) {
            held.left = held.left || KeyBindings::AnyDown(bound->left, keys);
            held.right = held.right || KeyBindings::AnyDown(bound->right, keys);
        }
        return {keys[SDLK_LEFT] != 0 || held.left, keys[SDLK_RIGHT] != 0 || held.right};
    }
};
