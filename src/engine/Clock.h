#pragma once

#include <SDL.h>

// Where the main loop reads the time and waits. Tests put a fake in its place so that frames run
// without real waits.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual Uint32 Ticks() = 0;
    virtual void Delay(Uint32 milliseconds) = 0;
};

class SdlClock : public Clock {
  public:
    Uint32 Ticks() override { return SDL_GetTicks(); }
    void Delay(Uint32 milliseconds) override { SDL_Delay(milliseconds); }
};
