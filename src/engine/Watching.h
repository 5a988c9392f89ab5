#pragma once

#include <cstdint>
#include <memory>

#include "engine/GameState.h"
#include "engine/NameEntry.h"
#include "engine/Watch.h"

// The player's own game as it stands between two frames: what waits aside while a kept game is
// watched, and comes back as it was.
struct PlayerSeat {
    std::unique_ptr<GameState> screen;
    std::unique_ptr<NameEntry> nameEntry;
    std::uint64_t draws = 0;
};

// The engine's part in watching a kept game from the high-score list: asked for in one frame,
// begun in the next, then one watched frame in each frame of the loop until it is over.
class Watching {
  public:
    // Where the list's key finds the game to watch; without a finder the key does nothing.
    void SetFinder(WatchFinder finder) { find = std::move(finder); }
    // Nothing when a watch runs already, or no game is kept; false for the latter, or without a
    // finder.
    bool Ask(GameEngine& engine);
    bool On() const { return watch != nullptr; }
    // Asked for, and the player's own game not yet set aside.
    bool Waiting() const { return watch != nullptr && !begun; }

    // Sets the player's game aside and puts the watched one in the engine.
    void Begin(PlayerSeat player);
    // One frame of the watched game; false once it is over.
    bool Step() { return watch->Step(); }
    // Ends the watch (the engine gets its own input and clock back) and hands the player's game
    // back.
    PlayerSeat End();

  private:
    WatchFinder find;
    std::unique_ptr<Watch> watch;
    bool begun = false;
    PlayerSeat aside;
};
