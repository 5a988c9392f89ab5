#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/Watch.h"
#include "replay/Replay.h"

class GameEngine;

namespace replay {

// A game whose frames are proven to make what it claims: they start a game, and their last one
// stores its points under its name. Only Proven makes one, so whatever watches it knows the watch
// reaches its list.
class ProvenReplay {
  public:
    const Replay& Game() const { return game; }

  private:
    explicit ProvenReplay(Replay game) : game(std::move(game)) {}
    friend std::optional<ProvenReplay> Proven(Replay game, std::string& why);

    Replay game;
};

// The game, once proven for its verdict alone; none, with what does not hold in why, otherwise.
std::optional<ProvenReplay> Proven(Replay game, std::string& why);
// The game kept in file, loaded and proven; why begins with the file's name.
std::optional<ProvenReplay> ProvenFile(const std::string& file, std::string& why);

// The one way to watch a game in the engine's window, wherever it comes from (the best one kept,
// --replay, a table of games): the proven game plays from the engine's next frame on, in place of
// the player's own screens, which come back as they were once it is watched to its list, stopped
// with Escape, or the window is closed. False, and nothing is watched, when a watch runs already.
bool StartWatching(GameEngine& engine, ProvenReplay game);
// The same watch, for a finder of the engine's Watching.
std::unique_ptr<Watch> WatchOf(GameEngine& engine, ProvenReplay game);

// The first screen of a run: the menu; or, with a game to watch first, the list it ends on, in
// whose place it plays from the first frame, and which stays once it is over.
void StartRun(GameEngine& engine, std::optional<ProvenReplay> watched);

}  // namespace replay
