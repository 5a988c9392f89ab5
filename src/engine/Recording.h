#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <string>

#include "engine/FrameInput.h"
#include "replay/Recorder.h"

// The engine's part in replays: each game recorded from the menu's Enter to its stored score,
// frame by frame, and kept once the score is stored.
class Recording {
  public:
    // Whether games are recorded; a game proved or watched is not.
    void SetOn(bool on) { this->on = on; }
    bool On() const { return on; }

    // A game starts from this many bomb draws and this name: its recording begins.
    void GameStarts(std::uint64_t draws, const std::string& name);
    // The frame's input, as the game reads it.
    void Take(const SDL_Event* event, HeldWays held) {
        recorder.Take(event, held.left, held.right);
    }
    // The score of the game just played is stored in this frame.
    void ScoreStored(int points) { storedPoints = points; }
    // After the frame's input: the replay of a game whose score was stored is kept, under name,
    // and handed back; nothing in a frame that stored no score.
    std::optional<replay::Replay> KeepStored(const std::string& name);

  private:
    replay::Recorder recorder;
    bool on = true;
    std::optional<int> storedPoints;
};
