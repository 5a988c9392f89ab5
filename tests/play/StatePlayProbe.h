#pragma once

#include <memory>
#include <vector>

#include "play/StatePlay.h"

// Read-only view of a play state's field for the tests. Everything a test changes, it changes
// the way the game does: keys, FireBullet, DropBomb, NextLevel and frames.
class StatePlayProbe {
  public:
    explicit StatePlayProbe(const StatePlay& play) : play(&play) {}

    int Level() const { return play->level; }
    int Score() const { return play->score; }
    int AirplaneHits() const { return play->airplaneHits; }
    int Airplane2Hits() const { return play->airplane2Hits; }
    const Sprite* Background() const { return play->background.get(); }
    const PlayerSprite* Player() const { return play->player.get(); }
    const AirplaneSprite* Airplane() const { return play->airplane.get(); }
    const AirplaneSprite* Airplane2() const { return play->airplane2.get(); }
    const Sprite* ShieldLeft() const { return play->shieldLeft.get(); }
    const Sprite* ShieldRight() const { return play->shieldRight.get(); }
    const std::vector<std::unique_ptr<BulletSprite>>& Bullets() const { return play->bullets; }
    const std::vector<std::unique_ptr<BombSprite>>& Bombs() const { return play->bombs; }
    const Text& LevelText() const { return *play->levelText; }
    const Text& ScoreText() const { return *play->scoreText; }

  private:
    const StatePlay* play;
};
