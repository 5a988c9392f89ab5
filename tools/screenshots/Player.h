#pragma once

#include <chrono>
#include <string>

#include "Dodger.h"
#include "FieldReader.h"
#include "GameWindow.h"
#include "Gunner.h"

// Plays one game from the menu: clears level 1 for real, saves the window at a lively moment of
// level 2, then walks into a bomb so that the game ends and the game-over screen comes up.
class Player {
  public:
    enum class Outcome { Shot, Lost, TimedOut, WindowGone };

    Player(GameWindow& window, std::string levelTwoShot);
    Outcome Play();

  private:
    enum class Stage { Starting, Clearing, Posing, Losing };
    using Clock = std::chrono::steady_clock;

    // One new frame of the game; false once the game is over.
    bool Step(const Field& field, const Picture& picture, Clock::time_point now);
    bool WorthAPicture(const Field& field) const;
    void Steer(int direction);
    void Fire(Clock::time_point now);
    int HeldStep() const { return heldDirection * facts::kCannonStep; }

    GameWindow& window;
    std::string levelTwoShot;
    FieldReader reader;
    Gunner gunner;
    Dodger dodger;
    Stage stage = Stage::Starting;
    int heldDirection = 0;
    Clock::time_point lastShot;
    Clock::time_point stageBegan;
    long frames = 0;
    long levelTwoFrames = 0;
    bool saved = false;
};
