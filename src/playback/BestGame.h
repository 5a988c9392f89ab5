#pragma once

#include <memory>

#include "engine/GameEngine.h"
#include "engine/Watch.h"

namespace replay {

// The kept replay of the highest score that proves, watched in the window as --replay watches a
// file: for the high-score list's key. Each better one that cannot be read or does not prove is
// said on standard error and passed over. None when no kept replay proves.
std::unique_ptr<Watch> FindBestGame(GameEngine& engine);

// A game from elsewhere (the shared table's best), as its replay's bytes: read and proven here,
// then watched as the best kept game is. None, with why, when it cannot be read or does not prove
// here (another version of the game, say).
std::unique_ptr<Watch> ProveGameFromElsewhere(GameEngine& engine, const std::string& bytes,
                                              std::string& why);

}  // namespace replay
