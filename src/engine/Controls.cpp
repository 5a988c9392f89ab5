// The engine's input: the keys and gamepad buttons of each frame's one event, the held arrows,
// and the player's own switches (mute, pause, full screen).
#include <algorithm>
#include <iterator>

#include "engine/GameEngine.h"

namespace {
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
}  // namespace

void GameEngine::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            quit = true;
            return;
        case SDL_KEYDOWN:
            KeyDown(event.key.keysym);
            return;
        case SDL_JOYBUTTONDOWN:
            PadButton(event.jbutton.button);
            return;
        case SDL_ACTIVEEVENT:
            // A player who switches away mid-game comes back to the game where they left it.
            if (LostFocus(event.active)) {
                PauseInPlay();
            }
            return;
        default:
            return;
    }
}

void GameEngine::KeyDown(const SDL_keysym& key) {
    if (IsFullScreenKey(key)) {
        ToggleFullScreen();
        return;
    }
    // On every screen, also while a name is typed: none of these is a letter of it.
    if (const int step = WindowScaleStep(key); step != 0) {
        StepWindowScale(step);
        return;
    }
    // While a name is typed, M and P are letters of it.
    if (IsTypingName()) {
        TypeNameKey(key);
        return;
    }
    switch (key.sym) {
        case SDLK_ESCAPE:
            quit = true;
            return;
        case SDLK_m:
            ToggleMute();
            return;
        case SDLK_p:
            TogglePause();
            return;
        default:
            break;
    }
    if (paused) {
        return;
    }
    if (key.sym == SDLK_SPACE) {
        SendKey(KeySpace);
    } else if (key.sym == SDLK_RETURN) {
        SendKey(KeyEnter);
    } else if (key.sym == SDLK_r) {
        SendKey(KeyWatch);
    }
}

void GameEngine::PadButton(Uint8 button) {
    // The name is typed on the keyboard, and confirmed there too.
    if (IsTypingName()) {
        return;
    }
    if (IsStartButton(button)) {
        TogglePause();
        return;
    }
    if (paused) {
        return;
    }
    if (button == pad::kFireButton) {
        SendKey(InPlay() ? KeySpace : KeyEnter);
    } else if (button == pad::kScoresButton && !InPlay()) {
        // Space opens the high scores from the menu; every other screen but play ignores it.
        SendKey(KeySpace);
    }
}

void GameEngine::SendKey(GameKey key) {
    if (currentState != nullptr) {
        currentState->KeyPressed(key);
    }
}

void GameEngine::SendHeldArrows(HeldWays held) {
    if (held.left) {
        SendKey(KeyLeft);
    }
    if (held.right) {
        SendKey(KeyRight);
    }
}

bool GameEngine::InPlay() const {
    return currentState != nullptr && currentState->Pausable();
}

void GameEngine::TypeNameKey(const SDL_keysym& key) {
    if (nameEntry->TypeKey(key)) {
        PlaySound(Effect::Select);
    }
}

void GameEngine::TogglePause() {
    if (paused) {
        paused = false;
    } else {
        PauseInPlay();
    }
}

void GameEngine::PauseInPlay() {
    if (InPlay()) {
        paused = true;
    }
}

void GameEngine::ToggleMute() {
    muted = !muted;
    if (muted) {
        sound->Halt();
    }
    KeepSettings();
}

// A replay proved without a window has no display to change.
void GameEngine::ToggleFullScreen() {
    if (display != nullptr) {
        display->ToggleFullScreen();
        KeepSettings();
    }
}

void GameEngine::StepWindowScale(int step) {
    if (display != nullptr) {
        display->StepScale(step);
        KeepSettings();
    }
}

Settings GameEngine::CurrentSettings() const {
    return {display->ScalePickedToFit() ? display::kAutoScale : display->Scale(),
            display->FullScreen(), !muted};
}

void GameEngine::KeepSettings() {
    if (settingsFile == nullptr || display == nullptr) {
        return;
    }
    const Settings now = CurrentSettings();
    // A key that changed nothing (a full screen refused) leaves even a garbled file alone.
    if (!(now == kept)) {
        settingsFile->Write(now);
        kept = now;
    }
}
