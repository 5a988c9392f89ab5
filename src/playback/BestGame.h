#pragma once

#include <memory>

#include "engine/GameEngine.h"
#include "engine/Watch.h"

namespace replay {

// The kept replay of the highest score that proves, watched in the window as --replay watches a
// file: for the high-score list's key. Each better one that cannot be read or does not prove is
// said on standard error and passed over. None when no kept replay proves.
std::unique_ptr<Watch> FindBestGame(GameEngine& engine);

}  // namespace replay
