#pragma once

#include "engine/GameState.h"

// Stores the finished game's score under the typed name. (Being built.)
class StateAddScore : public GameState {
  public:
    StateAddScore() = default;
    void SetScore(int score) { this->score = score; }

  private:
    int score = 0;
};
