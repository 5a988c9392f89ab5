#include "RandomPlayer.h"

#include "support/Frames.h"

namespace {
// Per frame: a key press (the game takes one event a frame), a change of the held arrows.
constexpr double kKeyChance = 0.3;
constexpr double kArrowChangeChance = 0.05;
// Per key press: Escape quits the game, which then starts again; rare so every screen gets seen.
constexpr double kEscapeChance = 0.0005;
constexpr char kTyped[] = "abcxyzABCXYZ0129 !.-_\t";
}  // namespace

void RandomPlayer::Play() {
    if (Chance(kArrowChangeChance)) {
        HoldKey(SDLK_LEFT, Chance(0.4));
        HoldKey(SDLK_RIGHT, Chance(0.4));
    }
    if (Chance(kKeyChance)) {
        PressAKey();
    }
}

void RandomPlayer::PressAKey() {
    if (Chance(kEscapeChance)) {
        PushKey(SDLK_ESCAPE, 27);
        return;
    }
    // Return, Space, Backspace, a typed character, or a key that carries no character at all.
    const int kind = std::uniform_int_distribution<int>(0, 9)(pick);
    if (kind < 2) {
        PushKey(SDLK_RETURN, '\r');
    } else if (kind < 5) {
        PushKey(SDLK_SPACE, ' ');
    } else if (kind < 6) {
        PushKey(SDLK_BACKSPACE, '\b');
    } else if (kind < 9) {
        const auto at = std::uniform_int_distribution<std::size_t>(0, sizeof kTyped - 2)(pick);
        const auto c = static_cast<unsigned char>(kTyped[at]);
        PushKey(static_cast<SDLKey>(c), c);
    } else {
        const auto sym = std::uniform_int_distribution<int>(SDLK_UP, SDLK_F15)(pick);
        PushKey(static_cast<SDLKey>(sym), 0);
    }
}
