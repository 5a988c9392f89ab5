#include "engine/GameState.h"

#include "engine/ScreenEngine.h"

void GameState::PlaySound(Effect effect) {
    if (engine != nullptr) {
        engine->PlaySound(effect);
    }
}
