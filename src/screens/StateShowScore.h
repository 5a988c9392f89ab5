#pragma once

#include "engine/GameState.h"

// The high-score list. (Being built.)
class StateShowScore : public GameState {
  public:
    StateShowScore() = default;
};
