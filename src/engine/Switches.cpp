// The engine carrying out what the controls route: keys to the screen, the name typed, and the
// player's own switches (mute, pause, full screen, the window's size), kept in the settings.
#include "engine/Controls.h"
#include "engine/GameEngine.h"

void GameEngine::HandleEvent(const SDL_Event& event) {
    const Command command = Route(event, {nameEntry->Typing(), paused, InPlay()});
    // A recorded game's switches were its player's, and change nothing of the game: watching it
    // leaves this player's window, sound and settings as they are.
    const bool players = !input->Recorded();
    switch (command.kind) {
        case Command::None:
            return;
        case Command::Quit:
            quit = true;
            return;
        case Command::FullScreen:
            if (players) {
                ToggleFullScreen();
            }
            return;
        case Command::ScaleStep:
            if (players) {
                StepWindowScale(command.step);
            }
            return;
        case Command::Mute:
            if (players) {
                ToggleMute();
            }
            return;
        case Command::Pause:
            TogglePause();
            return;
        case Command::PauseInPlay:
            PauseInPlay();
            return;
        case Command::TypeName:
            if (nameEntry->TypeKey(event.key.keysym)) {
                PlaySound(Effect::Select);
            }
            return;
        case Command::Key:
            SendKey(command.key);
            return;
    }
}

Command GameEngine::WatchersKey(const SDL_Event& event) {
    const Command command = Route(event, {});
    switch (command.kind) {
        case Command::FullScreen:
            ToggleFullScreen();
            return {};
        case Command::ScaleStep:
            StepWindowScale(command.step);
            return {};
        case Command::Mute:
            ToggleMute();
            return {};
        default:
            return command;
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
    if (display != nullptr) {
        settings.Keep(CurrentSettings());
    }
}

// A replay proved without a window has no display to change.
void GameEngine::ToggleFullScreen() {
    if (display != nullptr) {
        display->ToggleFullScreen();
        settings.Keep(CurrentSettings());
    }
}

void GameEngine::StepWindowScale(int step) {
    if (display != nullptr) {
        display->StepScale(step);
        settings.Keep(CurrentSettings());
    }
}

Settings GameEngine::CurrentSettings() const {
    Settings now;
    now.scale = display->ScalePickedToFit() ? display::kAutoScale : display->Scale();
    now.fullScreen = display->FullScreen();
    now.soundOn = !muted;
    return now;
}
