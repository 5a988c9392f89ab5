#pragma once

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/GameState.h"
#include "gfx/AirplaneSprite.h"
#include "gfx/BombSprite.h"
#include "gfx/BulletSprite.h"
#include "gfx/PlayerSprite.h"
#include "gfx/Sprite.h"
#include "gfx/Text.h"

// The playing field: the cannon, up to two airplanes, the shields, bullets and bombs in flight,
// the level and the score. The frame update lives in StatePlayUpdate.cpp.
class StatePlay : public GameState {
  public:
    // Builds the field of level 1, its pictures and lines from assets, which outlive it. Needs no
    // engine: there is none until the state is installed.
    explicit StatePlay(Assets& assets);
    ~StatePlay() override;
    StatePlay(const StatePlay&) = delete;
    StatePlay& operator=(const StatePlay&) = delete;

    // One frame of play. May end the game, which replaces (and so destroys) this state.
    void MoveSprites() override;
    void Draw(SDL_Surface* screen) override;
    void KeyPressed(int key) override;
    bool Pausable() const override { return true; }

    // The decimal text of value, as stream insertion writes it.
    static std::string itos(int value);
    // Sets up the level after this one; above the last level it only counts up.
    void NextLevel();
    // A new bullet for a cannon whose top left corner is at (x, y).
    void FireBullet(int x, int y);
    // A new bomb for an airplane whose top left corner is at (x, y).
    void DropBomb(int x, int y);
    // The field as numbers, written over out: the cannon, each airplane (or none) with its hit
    // points, the shields, every bullet and bomb, the level and the score. Two frames with the
    // same numbers play on alike, whatever keys led to them.
    void WriteField(std::vector<int>& out) const;
    // What such a field says at a glance: where the cannon stands, where the airplanes are (if in
    // play), the hits they have left, the level and the score.
    struct Glance {
        int cannonX = 0;
        bool airplane = false;
        bool airplane2 = false;
        int airplaneX = 0;
        int airplane2X = 0;
        int airplaneHits = 0;
        int airplane2Hits = 0;
        int level = 0;
        int score = 0;
    };
    // False when the numbers are no field WriteField wrote.
    static bool GlanceAt(const std::vector<int>& field, Glance& glance);

  private:
    // Tests read the field through this, and only read.
    friend class StatePlayProbe;

    // The frame update, one step per phase, in the order MoveSprites runs them.
    void FlyAirplanes();
    void ShootBullets();
    void ReplaceShotDownAirplanes();
    bool FieldCleared() const;
    void DropBombsAtRandom();
    // True when a bomb reached the cannon; the bombs after it are left as they are.
    bool BombsFall();
    // Hands the score to the game-over screen and installs it: this state is gone afterwards.
    void EndGame();

    void ScoreHit();
    // The sound of a hit: the last hit point of an airplane brings it down for good.
    void SoundHit(int hitsLeft);

    Assets& assets;
    std::unique_ptr<Sprite> background;
    std::unique_ptr<PlayerSprite> player;
    std::unique_ptr<AirplaneSprite> airplane;            // null while none is in play
    std::unique_ptr<AirplaneSprite> airplane2;           // null while none is in play
    std::unique_ptr<Sprite> shieldLeft;                  // null once taken away
    std::unique_ptr<Sprite> shieldRight;                 // null once taken away
    std::vector<std::unique_ptr<BulletSprite>> bullets;  // in the order fired
    std::vector<std::unique_ptr<BombSprite>> bombs;      // in the order dropped
    int airplaneHits;
    int airplane2Hits;
    int level;
    int score;
    std::unique_ptr<Text> levelText;
    std::unique_ptr<Text> scoreText;
};
