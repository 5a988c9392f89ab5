#include "engine/PauseNote.h"

namespace {
constexpr const char* kPauseNote = "Paused - press P to play on";
// Across the middle of the field, below the airplanes and above the shields.
constexpr int kPauseNoteY = 225;
}  // namespace

void PauseNote::Draw(SDL_Surface* screen) {
    if (note == nullptr) {
        note = std::make_unique<Text>(assets);
        note->Render(kPauseNote);
        const SDL_Surface* rendered = note->GetSurface();
        const int width = rendered != nullptr ? rendered->w : 0;
        note->SetPos((fieldWidth - width) / 2, kPauseNoteY);
    }
    note->Draw(screen);
}
