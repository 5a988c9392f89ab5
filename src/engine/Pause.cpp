// The engine's pause: the game stands still under a note that says how to go on.
#include "engine/GameEngine.h"

namespace {
constexpr const char* kPauseNote = "Paused - press P to play on";
// Across the middle of the field, below the airplanes and above the shields.
constexpr int kPauseNoteY = 225;
}  // namespace

void GameEngine::TogglePause() {
    if (paused) {
        paused = false;
    } else {
        Pause();
    }
}

void GameEngine::Pause() {
    if (InPlay()) {
        paused = true;
    }
}

void GameEngine::DrawPauseNote() {
    if (pauseNote == nullptr) {
        pauseNote = std::make_unique<Text>();
        pauseNote->Render(kPauseNote);
        const SDL_Surface* rendered = pauseNote->GetSurface();
        const int width = rendered != nullptr ? rendered->w : 0;
        pauseNote->SetPos((screenWidth - width) / 2, kPauseNoteY);
    }
    pauseNote->Draw(screen);
}
