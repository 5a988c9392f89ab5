#pragma once

#include "gfx/Sprite.h"

// A bomb dropped by an airplane: 5 pixels down a step, with no bound of its own; the play screen
// marks it once it has left the window and sweeps it out of its list.
class BombSprite final : public Sprite {
  public:
    static constexpr int kStep = 5;

    void MoveDown() override;
    // Toggles the removal mark: a second call before the sweep makes the bomb live again.
    void SetDel() override { deleted = !deleted; }
    bool GetDel() override { return deleted; }

  private:
    bool deleted = false;
};
