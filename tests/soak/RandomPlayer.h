#pragma once

#include <SDL.h>

#include <cstdint>
#include <random>

// Presses keys at random, as a player mashing the keyboard would: a key now and then, arrows held
// for a while, and more often the keys that move the game on. Its own generator, seeded by the
// caller: the game's rand() belongs to the bombs.
class RandomPlayer {
  public:
    explicit RandomPlayer(std::uint32_t seed) : pick(seed) {}

    // One frame's input: changes the held arrows and may put a key press into SDL's queue.
    // Escape comes rarely, since it ends the game.
    void Play();

  private:
    bool Chance(double p) { return std::bernoulli_distribution(p)(pick); }
    void PressAKey();

    std::mt19937 pick;
};
