#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <string>

#include "replay/Replay.h"

namespace replay {

// The version of the game that records and proves replays.
const char* GameVersion();

// Records one game at a time, frame by frame, from the frame that starts it.
class Recorder {
  public:
    // Starts a new recording; one still going is dropped (its game never stored a score).
    void Begin(std::uint64_t drawsBefore, const std::string& nameBefore);
    // One frame's input; nothing while no game is recorded. A game longer than any replay may be
    // is no longer recorded.
    void Take(const SDL_Event* event, bool left, bool right);
    // Ends the recording with the score stored; none when nothing was recorded.
    std::optional<Replay> Finish(int points, const std::string& name);
    bool Recording() const { return recording; }

  private:
    Replay game;
    bool recording = false;
};

}  // namespace replay
