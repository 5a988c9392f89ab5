#include "RandomPlayer.h"

#include "support/Frames.h"

namespace {
// Per frame: an event (the game takes one a frame), a change of what is held.
constexpr double kEventChance = 0.3;
constexpr double kHoldChangeChance = 0.05;
// Per event: a gamepad button, the window's focus; a key otherwise.
constexpr double kButtonChance = 0.15;
constexpr double kFocusChance = 0.01;
// Per key: Escape quits the game, which then starts again; rare so every screen gets seen.
// The player's switches (pause, mute, full screen) are rare too, or the game would stand paused.
constexpr double kEscapeChance = 0.0005;
constexpr double kSwitchChance = 0.02;
constexpr Uint8 kHighestButton = 11;
// Per frame of a paused game: P again.
constexpr double kResumeChance = 0.02;
// r watches the best game kept, on the high-score list.
constexpr char kTyped[] = "abcrxyzABCXYZ0129 !.-_\t";
}  // namespace

std::unique_ptr<Gamepad> RandomPlayer::NewPad() {
    auto owned = std::make_unique<Pad>();
    pad = owned.get();
    return owned;
}

void RandomPlayer::Play(bool paused) {
    if (paused && Chance(kResumeChance)) {
        PushKey(SDLK_p, 'p');
        return;
    }
    if (Chance(kHoldChangeChance)) {
        HoldKey(SDLK_LEFT, Chance(0.4));
        HoldKey(SDLK_RIGHT, Chance(0.4));
        if (pad != nullptr) {
            pad->held.left = Chance(0.2);
            pad->held.right = Chance(0.2);
        }
    }
    if (!Chance(kEventChance)) {
        return;
    }
    if (Chance(kButtonChance)) {
        PushButton();
    } else if (Chance(kFocusChance)) {
        PushFocus();
    } else {
        PressAKey();
    }
}

void RandomPlayer::PressAKey() {
    if (Chance(kEscapeChance)) {
        PushKey(SDLK_ESCAPE, 27);
        return;
    }
    if (Chance(kSwitchChance)) {
        const SDLKey switches[] = {SDLK_p, SDLK_m, SDLK_F11, SDLK_RETURN};
        const SDLKey sym = switches[Between(0, 3)];
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = sym;
        event.key.keysym.unicode = sym == SDLK_RETURN ? '\r' : static_cast<Uint16>(sym);
        event.key.keysym.mod = sym == SDLK_RETURN ? KMOD_LALT : KMOD_NONE;  // Alt+Return
        SDL_PushEvent(&event);
        return;
    }
    // Return, Space, Backspace, a typed character, or a key that carries no character at all.
    const int kind = Between(0, 9);
    if (kind < 2) {
        PushKey(SDLK_RETURN, '\r');
    } else if (kind < 5) {
        PushKey(SDLK_SPACE, ' ');
    } else if (kind < 6) {
        PushKey(SDLK_BACKSPACE, '\b');
    } else if (kind < 9) {
        const auto c = static_cast<unsigned char>(kTyped[Between(0, sizeof kTyped - 2)]);
        PushKey(static_cast<SDLKey>(c), c);
    } else {
        PushKey(static_cast<SDLKey>(Between(SDLK_UP, SDLK_F10)), 0);
    }
}

void RandomPlayer::PushButton() {
    SDL_Event event{};
    event.type = SDL_JOYBUTTONDOWN;
    event.jbutton.type = SDL_JOYBUTTONDOWN;
    event.jbutton.button = static_cast<Uint8>(Between(0, kHighestButton));
    event.jbutton.state = SDL_PRESSED;
    SDL_PushEvent(&event);
}

void RandomPlayer::PushFocus() {
    const Uint8 states[] = {SDL_APPINPUTFOCUS, SDL_APPACTIVE, SDL_APPMOUSEFOCUS};
    SDL_Event event{};
    event.type = SDL_ACTIVEEVENT;
    event.active.type = SDL_ACTIVEEVENT;
    event.active.gain = static_cast<Uint8>(Between(0, 1));
    event.active.state = states[Between(0, 2)];
    SDL_PushEvent(&event);
}
