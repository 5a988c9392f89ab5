#pragma once

#include <atomic>
#include <chrono>

#include "Dodger.h"
#include "FieldReader.h"
#include "GameWindow.h"
#include "Gunner.h"

// Plays the real game in its real window for the whole-process benchmark: clears level 1 for
// real, then keeps the field busy from level 2 on (two airplanes bombing, the cannon firing and
// dodging) until told to stop, and then walks into a bomb so that the game ends.
class BusyPlayer {
  public:
    enum class Outcome { Ended, LostEarly, TimedOut, WindowGone };

    // `stop` is set from outside (a signal) when the busy field has been measured.
    BusyPlayer(GameWindow& window, const std::atomic<bool>& stop);
    // Starts a game from the menu and plays it to its end. Prints "level N" on standard output
    // when level 2 or a later one begins, and "over" when the game has ended.
    Outcome Play();

  private:
    using Clock = std::chrono::steady_clock;

    void Step(const Field& field, Clock::time_point now);
    void Steer(int direction);
    int HeldStep() const;

    GameWindow& window;
    const std::atomic<bool>& stop;
    FieldReader reader;
    Gunner gunner;
    Dodger dodger;
    int heldDirection = 0;
    int levelShown = 0;
    Clock::time_point lastShot;
};
