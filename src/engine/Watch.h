#pragma once

#include <functional>
#include <memory>

class GameEngine;

// A kept game watched again in the window, asked for on the high-score list. The engine runs it
// in place of the player's own screens: each frame of the main loop is one frame of the watched
// game, until it is over.
class Watch {
  public:
    virtual ~Watch() = default;
    // Puts the watched game in the engine, whose own screen and name the engine has set aside.
    virtual void Begin() = 0;
    // One frame of the loop: the watched game's frames it stands for at the watch's speed, the
    // last one shown with GameEngine::PlayFrame; false once it is over, watched to its end or
    // ended by the player.
    virtual bool Step() = 0;
};

// Finds the game the list's key watches; none when no game is kept.
using WatchFinder = std::function<std::unique_ptr<Watch>(GameEngine&)>;
