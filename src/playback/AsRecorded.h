#pragma once

#include "replay/Replay.h"

class GameEngine;

namespace replay {

// Puts the engine where a recorded game began: its generator where the draws made before it left
// it, the name an earlier game left typed, and the menu its first frame starts from.
void StartAsRecorded(GameEngine& engine, const Replay& game);

}  // namespace replay
