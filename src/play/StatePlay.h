#pragma once

#include "engine/GameState.h"

// The playing field. (Being built.)
class StatePlay : public GameState {
  public:
    StatePlay() = default;
};
