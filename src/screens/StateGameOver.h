#pragma once

#include <SDL.h>

#include <memory>

#include "engine/GameState.h"
#include "gfx/Sprite.h"
#include "screens/PointsLine.h"

class Assets;

// The screen after a game, over which the engine collects the player's name. It holds the final
// score until the player has confirmed the name and presses Return again.
class StateGameOver : public GameState {
  public:
    // Its picture from assets, which the screens after it are made with too.
    explicit StateGameOver(Assets& assets);

    // The creator always hands over the final score before installing the screen.
    void SetScore(int score) { this->score = score; }
    int GetScore() const { return score; }

    void Draw(SDL_Surface* screen) override;
    // Return (once the engine lets it through, after the name is confirmed) moves on to the
    // add-score screen; every other key is ignored.
    void KeyPressed(int key) override;

  private:
    Assets& assets;
    std::unique_ptr<Sprite> background;
    int score = 0;
    PointsLine points;  // with the player's settings only
};
