#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "playback/ReplayInput.h"
#include "playback/StoreCatcher.h"
#include "replay/Replay.h"

namespace replay {

// Plays a recorded game in the engine's window frame by frame, from the menu's Enter to the list
// its score went into (which is shown as it stands; nothing is stored again). While it plays,
// Escape or closing the window ends it, Space runs it at twice, four times, then the usual speed,
// P pauses it and plays on, and full screen, the window's size and mute work as in play. Waits of
// the player's longer than two seconds pass at eight times the speed. Faster than the game's own
// pace, only one frame in so many is drawn. A label over the picture says it is a replay and at
// what speed. The player's own screen, name and draws are set aside while it lives; when the
// watcher goes they come back as they were, with the player's own input, however the watch ended
// (watched to its end, stopped, or cut short by frames that end before the game does). The
// engine's input must stay while the watcher lives.
class Watcher {
  public:
    // game must outlive the watcher: its frames are fed from where they are.
    Watcher(GameEngine& engine, const Replay& game);
    ~Watcher();
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    // One frame; false once the game is watched to the end or the player ended it.
    bool Step();
    // Whether the player ended it before its end.
    bool Stopped() const { return control.stopped; }
    // The recorded frames run so far.
    std::size_t FramesWatched() const { return feed->Fed(); }

    // What the player's keys do to a replay being watched.
    struct Control {
        int speed = 1;
        bool stopped = false;
        bool paused = false;
        bool skipping = false;  // a long wait of the player's passes quickly
        // How many of the game's frames each frame shown stands for.
        int Speed() const;
    };

  private:
    std::string Label() const;

    GameEngine& engine;
    Control control;
    Stored stored;
    const ReplayInput* feed = nullptr;     // the engine's input while this watcher lives
    std::unique_ptr<FrameInput> ownInput;  // the engine's own, back when the watcher goes
    std::vector<bool> waiting;             // per recorded frame: within a long wait of the player's
    bool finished = false;
    bool recorded;      // whether the engine recorded games before
    PlayerSeat player;  // the player's own game, set aside while this one is watched
};

}  // namespace replay
