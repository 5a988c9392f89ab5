#include "engine/Watching.h"

#include <utility>

void Watching::Ask(GameEngine& engine) {
    if (watch != nullptr || !find) {
        return;
    }
    // Begun in the next frame: this one is the asking screen's to finish.
    watch = find(engine);
    begun = false;
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
