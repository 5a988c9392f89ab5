#pragma once

#include <SDL.h>

#include <memory>

// Which ways a gamepad is held this frame.
struct PadHeld {
    bool left = false;
    bool right = false;
};

// A gamepad's stick and hat, read as state once a frame like the held arrows, so a moving stick
// never fills the event queue. Its button presses come as events.
class Gamepad {
  public:
    virtual ~Gamepad() = default;
    virtual PadHeld Held() = 0;
};

// The buttons the game answers, as SDL numbers them on the common pads.
namespace pad {
constexpr Uint8 kFireButton = 0;    // fires in play and confirms (Enter) on the other screens
constexpr Uint8 kScoresButton = 1;  // opens the high scores from the menu
// Start is 7 on pads laid out like the usual console pads under Linux, 9 on many others.
constexpr Uint8 kStartButtons[] = {7, 9};
// How far the left stick must lean before it counts, out of 32767: a worn stick at rest drifts.
constexpr Sint16 kDeadZone = 8000;
}  // namespace pad

// Which ways the first hat and the left stick's across axis hold the pad. A pad without a hat reads
// as SDL_HAT_CENTERED, one without an axis as 0.
PadHeld ReadHeld(Uint8 hat, Sint16 across);

// The first joystick SDL knows, opened; null when there is none.
std::unique_ptr<Gamepad> OpenFirstGamepad();
