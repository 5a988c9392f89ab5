#pragma once

#include <string>

#include "replay/Replay.h"

namespace replay {

// Whether a replay's frames, fed to the game's own code, make what it claims.
struct Verdict {
    bool proven = false;
    std::string why;  // what does not hold and where, when not proven
    // When proven, the play's digest (PlayDigest): equal for two replays of the same play, under
    // any name.
    std::string digest;
};

// Plays the game headless: no window, pictures, font, sound or waits, and a generator of its own.
// Several threads may prove at once.
Verdict Prove(const Replay& game);

// The one line --verify prints for a file: its points, frames and name, and whether they are
// proven. proven is set accordingly.
std::string ProveFile(const std::string& path, bool& proven);

}  // namespace replay
