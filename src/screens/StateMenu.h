#pragma once

#include "engine/GameState.h"
#include "gfx/SdlPtr.h"

// The first screen: one picture; Enter starts a game, Space shows the high scores.
class StateMenu : public GameState {
  public:
    StateMenu();

    void Draw(SDL_Surface* screen) override;
    void KeyPressed(int key) override;

  private:
    SurfacePtr menuImage;
};
