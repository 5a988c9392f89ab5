#pragma once

#include "gfx/Sprite.h"

// The player's cannon: 3 pixels a step along the bottom. The bounds are tested before the step,
// so the cannon can end a few pixels past them (at -2 and 596 from a start on the grid of 3).
class PlayerSprite : public Sprite {
  public:
    static constexpr int kStep = 3;
    static constexpr int kLeftBound = 0;     // steps left only while x is above this
    static constexpr int kRightBound = 593;  // steps right only while x is at most this

    void MoveLeft() override;
    void MoveRight() override;
};
