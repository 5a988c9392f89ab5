#pragma once

#include <SDL.h>

#include <cstddef>
#include <string>
#include <vector>

#include "engine/FrameInput.h"
#include "replay/Replay.h"

namespace replay {

// Feeds a recorded game's frames to the engine, one a frame, and notes where the engine's reading
// differs from what was recorded: ways held in a frame where the game read none.
class ReplayInput : public FrameInput {
  public:
    explicit ReplayInput(const std::vector<Taken>& frames) : frames(frames) {}

    bool NextEvent(SDL_Event& event) override;
    HeldWays Held(Gamepad* pad, const KeyBindings* bound) override;
    bool Recorded() const override { return true; }

    // Frames fed so far.
    std::size_t Fed() const { return next; }
    bool Done() const { return next >= frames.size(); }
    // The first frame (counted from 1) whose ways held the game could not have read; 0 for none.
    std::size_t FirstUnreadHeld() const;

  private:
    void CheckHeldRead();

    const std::vector<Taken>& frames;
    std::size_t next = 0;
    bool heldRead = true;
    std::size_t unreadHeld = 0;
};

}  // namespace replay
