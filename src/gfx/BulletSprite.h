#pragma once

#include "gfx/Sprite.h"

// A bullet fired by the cannon: 4 pixels up a step, with no bound of its own; the play screen
// marks it once it has left the window and sweeps it out of its list.
class BulletSprite final : public Sprite {
  public:
    static constexpr int kStep = 4;

    void MoveUp() override;
    // Toggles the removal mark: a second call before the sweep makes the bullet live again.
    void SetDel() override { deleted = !deleted; }
    bool GetDel() override { return deleted; }

  private:
    bool deleted = false;
};
