#pragma once

#include "engine/GameState.h"
#include "gfx/SdlPtr.h"

class Assets;

// The first screen: one picture; Enter starts a game, Space shows the high scores.
class StateMenu : public GameState {
  public:
    // Its picture from assets, which every screen after it is made with too.
    explicit StateMenu(Assets& assets);

    void Draw(SDL_Surface* screen) override;
    void KeyPressed(int key) override;

  private:
    Assets& assets;
    SurfacePtr menuImage;
};
