// The engine's part in watching a kept game from the high-score list: the player's own screen,
// name and bomb draws wait aside while the watched game runs as the engine's frames, and come
// back as they were.
#include <utility>

#include "engine/GameEngine.h"

void GameEngine::WatchBestGame() {
    if (watch != nullptr || !findWatch) {
        return;
    }
    // Begun in the next frame: this one is the asking screen's to finish.
    watch = findWatch(*this);
    watchBegun = false;
}

void GameEngine::BeginWatch() {
    aside.screen = std::move(currentState);
    aside.nameEntry = std::exchange(nameEntry, std::make_unique<NameEntry>());
    aside.draws = draws;
    watchBegun = true;
    watch->Begin();
}

void GameEngine::EndWatch() {
    // The watch gives the player's input and clock back as it goes.
    watch.reset();
    quit = false;
    StartDrawsAfter(aside.draws);
    nameEntry = std::move(aside.nameEntry);
    SetState(aside.screen.release());
}
