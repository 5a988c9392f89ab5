#pragma once

#include "engine/GameState.h"

// The screen after a game, over which the engine collects the player's name. (Being built.)
class StateGameOver : public GameState {
  public:
    StateGameOver() = default;
    void SetScore(int score) { this->score = score; }

  private:
    int score = 0;
};
