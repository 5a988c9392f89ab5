#pragma once

#include "gfx/Sprite.h"

// An enemy airplane. Its steps go against their names: MoveLeft flies it right at 2 pixels a step
// and MoveRight flies it left at 4, twice as fast. Past the far edge it wraps round to just
// outside the other edge, and the wrap takes the place of that step.
class AirplaneSprite : public Sprite {
  public:
    static constexpr int kRightwardStep = 2;
    static constexpr int kLeftwardStep = 4;
    static constexpr int kLeftWrapX = -80;   // just outside the window's left edge
    static constexpr int kRightWrapX = 650;  // just outside the window's right edge

    void MoveLeft() override;   // flies right
    void MoveRight() override;  // flies left
};
