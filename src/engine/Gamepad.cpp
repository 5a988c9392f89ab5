#include "engine/Gamepad.h"

namespace {
struct JoystickCloser {
    void operator()(SDL_Joystick* joystick) const { SDL_JoystickClose(joystick); }
};

class SdlGamepad : public Gamepad {
  public:
    explicit SdlGamepad(SDL_Joystick* joystick) : joystick(joystick) {}

    PadHeld Held() override {
        PadHeld held;
        if (SDL_JoystickNumHats(joystick.get()) > 0) {
            const Uint8 hat = SDL_JoystickGetHat(joystick.get(), 0);
            held.left = (hat & SDL_HAT_LEFT) != 0;
            held.right = (hat & SDL_HAT_RIGHT) != 0;
        }
        if (SDL_JoystickNumAxes(joystick.get()) > 0) {
            const Sint16 across = SDL_JoystickGetAxis(joystick.get(), 0);
            held.left = held.left || across < -pad::kDeadZone;
            held.right = held.right || across > pad::kDeadZone;
        }
        return held;
    }

  private:
    std::unique_ptr<SDL_Joystick, JoystickCloser> joystick;
};
}  // namespace

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
