#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <random>

#include "engine/Gamepad.h"

// Plays at random, as a player mashing the keyboard and a gamepad would: a key or a button now
// and then, arrows and stick held for a while, the window losing and regaining its focus, and
// more often the keys that move the game on. Its own generator, seeded by the caller: the game's
// rand() belongs to the bombs.
class RandomPlayer {
  public:
    explicit RandomPlayer(std::uint32_t seed) : pick(seed) {}

    // A gamepad for a new game, whose stick this player holds; the game owns it.
    std::unique_ptr<Gamepad> NewPad();
    // One frame's input: changes what is held and may put one event into SDL's queue. Escape
    // comes rarely, since it ends the game; a paused game is soon taken up again.
    void Play(bool paused);

  private:
    class Pad : public Gamepad {
      public:
        PadHeld Held() override { return held; }
        PadHeld held;
    };

    bool Chance(double p) { return std::bernoulli_distribution(p)(pick); }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(pick); }
    void PressAKey();
    void PushButton();
    void PushFocus();

    std::mt19937 pick;
    Pad* pad = nullptr;  // owned by the game
};
