#include "engine/GameState.h"

#include "engine/GameEngine.h"

void GameState::PlaySound(Effect effect) {
    if (engine != nullptr) {
        engine->PlaySound(effect);
    }
}
