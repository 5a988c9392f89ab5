#include "engine/Controls.h"

#include <algorithm>
#include <iterator>

#include "engine/Gamepad.h"

namespace {
Command Do(Command::Kind kind) {
    Command command;
    command.kind = kind;
    return command;
}

Command Send(GameKey key) {
    Command command;
    command.kind = Command::Key;
    command.key = key;
    return command;
}

Command Step(int step) {
    Command command;
    command.kind = Command::ScaleStep;
    command.step = step;
    return command;
}

bool IsStartButton(Uint8 button) {
    return std::find(std::begin(pad::kStartButtons), std::end(pad::kStartButtons), button) !=
           std::end(pad::kStartButtons);
}

// Alt+Return is the usual full-screen chord, so it must never count as a Return.
bool IsFullScreenKey(const SDL_keysym& key) {
    return key.sym == SDLK_F11 || (key.sym == SDLK_RETURN && (key.mod & KMOD_ALT) != 0);
}

// A step larger or smaller for the window: keys that no screen uses, found on most keyboards
// (Page Up and Down) and on those with a keypad where a player looks for zoom (+ and -).
int WindowScaleStep(const SDL_keysym& key) {
    switch (key.sym) {
        case SDLK_PAGEUP:
        case SDLK_KP_PLUS:
            return 1;
        case SDLK_PAGEDOWN:
        case SDLK_KP_MINUS:
            return -1;
        default:
            return 0;
    }
}

bool LostFocus(const SDL_ActiveEvent& active) {
    return active.gain == 0 && (active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) != 0;
}

Command KeyDown(const SDL_keysym& key, Mode mode) {
    if (IsFullScreenKey(key)) {
        return Do(Command::FullScreen);
    }
    // On every screen, also while a name is typed: none of these is a letter of it.
    if (const int step = WindowScaleStep(key); step != 0) {
        return Step(step);
    }
    // While a name is typed, M and P are letters of it.
    if (mode.typingName) {
        return Do(Command::TypeName);
    }
    switch (key.sym) {
        case SDLK_ESCAPE:
            return Do(Command::Quit);
        case SDLK_m:
            return Do(Command::Mute);
        case SDLK_p:
            return Do(Command::Pause);
        default:
            break;
    }
    if (mode.paused) {
        return {};
    }
    switch (key.sym) {
        case SDLK_SPACE:
            return Send(KeySpace);
        case SDLK_RETURN:
            return Send(KeyEnter);
        case SDLK_r:
            return Send(KeyWatch);
        case SDLK_TAB:
            return Send(KeyTable);
        default:
            return {};
    }
}

Command PadButton(Uint8 button, Mode mode) {
    // The name is typed on the keyboard, and confirmed there too.
    if (mode.typingName) {
        return {};
    }
    if (IsStartButton(button)) {
        return Do(Command::Pause);
    }
    if (mode.paused) {
        return {};
    }
    if (button == pad::kFireButton) {
        return Send(mode.inPlay ? KeySpace : KeyEnter);
    }
    // Space opens the high scores from the menu; every other screen but play ignores it.
    if (button == pad::kScoresButton && !mode.inPlay) {
        return Send(KeySpace);
    }
    return {};
}
}  // namespace

Command Route(const SDL_Event& event, Mode mode) {
    switch (event.type) {
        case SDL_QUIT:
            return Do(Command::Quit);
        case SDL_KEYDOWN:
            return KeyDown(event.key.keysym, mode);
        case SDL_JOYBUTTONDOWN:
            return PadButton(event.jbutton.button, mode);
        case SDL_ACTIVEEVENT:
            // A player who switches away mid-game comes back to the game where they left it.
            return LostFocus(event.active) ? Do(Command::PauseInPlay) : Command{};
        default:
            return {};
    }
}
