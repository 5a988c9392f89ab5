#include "engine/Gamepad.h"

namespace {
struct JoystickCloser {
    void operator()(SDL_Joystick* joystick) const { SDL_JoystickClose(joystick); }
};

class SdlGamepad : public Gamepad {
  public:
    explicit SdlGamepad(SDL_Joystick* joystick) : joystick(joystick) {}

    PadHeld Held() override {
        SDL_Joystick* stick = joystick.get();
        const Uint8 hat =
            SDL_JoystickNumHats(stick) > 0 ? SDL_JoystickGetHat(stick, 0) : SDL_HAT_CENTERED;
        const Sint16 across = SDL_JoystickNumAxes(stick) > 0 ? SDL_JoystickGetAxis(stick, 0) : 0;
        return ReadHeld(hat, across);
    }

  private:
    std::unique_ptr<SDL_Joystick, JoystickCloser> joystick;
};
}  // namespace

PadHeld ReadHeld(Uint8 hat, Sint16 across) {
    PadHeld held;
    held.left = (hat & SDL_HAT_LEFT) != 0 || across < -pad::kDeadZone;
    held.right = (hat & SDL_HAT_RIGHT) != 0 || across > pad::kDeadZone;
    return held;
}

std::unique_ptr<Gamepad> OpenFirstGamepad() {
    if (SDL_NumJoysticks() < 1) {
        return nullptr;
    }
    SDL_Joystick* joystick = SDL_JoystickOpen(0);
    if (joystick == nullptr) {
        return nullptr;
    }
    return std::make_unique<SdlGamepad>(joystick);
}
