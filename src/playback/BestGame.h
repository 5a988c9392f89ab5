#pragma once

#include <memory>

#include "engine/GameEngine.h"
#include "engine/Watch.h"

namespace replay {

// The kept replay of the highest score, watched in the window as --replay watches a file: for the
// high-score list's key. None when no replay is kept, or when the best one cannot be read (which
// is said on standard error).
std::unique_ptr<Watch> FindBestGame(GameEngine& engine);

}  // namespace replay
