#include "engine/Watching.h"

#include <utility>

bool Watching::Ask(GameEngine& engine) {
    if (watch != nullptr) {
        return true;
    }
    if (!find) {
        return false;
    }
    // Begun in the next frame: this one is the asking screen's to finish.
    watch = find(engine);
    begun = false;
    return watch != nullptr;
}

void Watching::Begin(PlayerSeat player) {
    aside = std::move(player);
    begun = true;
    watch->Begin();
}

PlayerSeat Watching::End() {
    // The watch gives the player's input and clock back as it goes.
    watch.reset();
    begun = false;
    return std::exchange(aside, {});
}
