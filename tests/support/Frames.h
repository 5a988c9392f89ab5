#pragma once

#include <SDL.h>

#include <vector>

#include "engine/Clock.h"

class GameEngine;

// A clock that moves only when told to, and remembers every wait the loop asked for.
class FakeClock : public Clock {
  public:
    explicit FakeClock(Uint32 start = 1000) : now(start) {}
    Uint32 Ticks() override {
        const Uint32 reading = now;
        now += advancePerReading;
        return reading;
    }
    void Delay(Uint32 milliseconds) override {
        delays.push_back(milliseconds);
        now += milliseconds;
    }

    Uint32 now;
    Uint32 advancePerReading = 0;  // how much time passes between two readings
    std::vector<Uint32> delays;
};

// A clock that moves only by the waits the loop asks for and keeps no record of them, for runs of
// millions of frames.
class SteppingClock : public Clock {
  public:
    Uint32 Ticks() override { return now; }
    void Delay(Uint32 milliseconds) override { now += milliseconds; }

    Uint32 now = 1000;
};

// A key press as the keyboard makes it.
SDL_Event KeyDown(SDLKey sym, Uint16 unicode = 0);
// Puts a key press into SDL's event queue, as the keyboard would.
void PushKey(SDLKey sym, Uint16 unicode = 0);
// Types text: one key press per character, carrying that character.
void PushText(const char* text);
void PushQuit();
// Holds an arrow key down (or lets it go) in the keyboard state the engine reads each frame.
void HoldKey(SDLKey sym, bool down);
// Lets go of every key and empties the event queue.
void ReleaseAllInput();
// Installs a FakeClock in the engine and returns it (the engine owns it).
FakeClock* UseFakeClock(GameEngine& engine);
void RunFrames(GameEngine& engine, int count);
// Runs frames until the event queue has been worked off.
void RunUntilQueueEmpty(GameEngine& engine);
