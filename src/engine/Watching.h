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

// The engine's part in watching a game: asked for in one frame (the list's key, or a game from
// elsewhere handed to it), begun in the next, then one watched frame in each frame of the loop
// until it is over. The watch itself sets the player's game aside and gives it back.
class Watching {
  public:
    // Where the list's key finds the game to watch; without a finder the key does nothing.
    void SetFinder(WatchFinder finder) { find = std::move(finder); }
    // What proves a game from elsewhere before it is watched; without one none is watched.
    void SetProver(WatchProver prover) { prove = std::move(prover); }
    // A game from elsewhere (a replay's bytes), proven, watched from the next frame on; false,
    // with why, when it does not prove here, or nothing can prove it; false when a watch runs.
    bool Prove(GameEngine& engine, const std::string& replay, std::string& why);
    // Nothing when a watch runs already, or no game is kept; false for the latter, or without a
    // finder.
    bool Ask(GameEngine& engine);
    // Watches game from the next frame on; false, and nothing changes, when a watch runs already.
    bool Start(std::unique_ptr<Watch> game);
    bool On() const { return watch != nullptr; }
    // Asked for, and not yet begun.
    bool Waiting() const { return watch != nullptr && !begun; }

    // Puts the watched game in the engine in place of the player's.
    void Begin();
    // One frame of the watched game; false once it is over.
    bool Step() { return watch->Step(); }
    // Ends the watch: the player's game, input and clock are back as they were.
    void End();

  private:
    WatchFinder find;
    WatchProver prove;
    std::unique_ptr<Watch> watch;
    bool begun = false;
};
