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
    return Start(find(engine));
}

bool Watching::Prove(GameEngine& engine, const std::string& replay, std::string& why) {
    if (watch != nullptr || !prove) {
        why = watch != nullptr ? "another game is being watched" : "no game can be proven here";
        return false;
    }
    return Start(prove(engine, replay, why));
}

bool Watching::Start(std::unique_ptr<Watch> game) {
    if (watch != nullptr || game == nullptr) {
        return false;
    }
    watch = std::move(game);
    begun = false;
    return true;
}

void Watching::Begin() {
    begun = true;
    watch->Begin();
}

void Watching::End() {
    watch.reset();
    begun = false;
}
