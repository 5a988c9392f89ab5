#pragma once

#include <functional>
#include <memory>
#include <string>

class GameEngine;

// A game watched again in the window: the best one kept, asked for on the high-score list, or one
// from elsewhere. The engine runs it in place of the player's own screens: each frame of the main
// loop is one frame of the watched game, until it is over.
class Watch {
  public:
    // Once begun, gives the player's own screen, name and draws back as they were, however the
    // watch ended: nothing of the watched game stays behind.
    virtual ~Watch() = default;
    // Sets the player's screen, name and draws aside and puts the watched game in the engine.
    virtual void Begin() = 0;
    // One frame of the loop: the watched game's frames it stands for at the watch's speed, the
    // last one shown with GameEngine::PlayFrame; false once it is over, watched to its end or
    // ended by the player.
    virtual bool Step() = 0;
};

// Finds the game the list's key watches; none when no game is kept.
using WatchFinder = std::function<std::unique_ptr<Watch>(GameEngine&)>;
// Makes the watch of a game from elsewhere, given as its replay's bytes, once it is proven here;
// none, with why, when it cannot be read or does not prove.
using WatchProver =
    std::function<std::unique_ptr<Watch>(GameEngine&, const std::string& replay, std::string& why)>;
