#pragma once

#include "sound/Effect.h"

// Where the game's sounds go. The engine owns one; screens reach it through
// GameState::PlaySound. Playing never waits, and without a sound device nothing is heard.
class Sound {
  public:
    virtual ~Sound() = default;
    virtual void Play(Effect effect) = 0;
    // Cuts off whatever is still sounding.
    virtual void Halt() = 0;
};

// For a machine that has no sound to give.
class SilentSound : public Sound {
  public:
    void Play(Effect /*effect*/) override {}
    void Halt() override {}
};
