#pragma once

#include <string>

#include "replay/Replay.h"

namespace replay {

// Whether a replay's frames, fed to the game's own code, make what it claims.
struct Verdict {
    bool proven = false;
    std::string why;  // what does not hold and where, when not proven
    // When proven with Keep::Digest, the play's digest (PlayDigest): equal for two replays of the
    // same play, under any name.
    std::string digest;
    // When proven with Keep::Digest, the play's fingerprint (PlayFingerprint): mostly alike for a
    // copy of the play with some inputs changed.
    std::string fingerprint;
};

// What a proof keeps of the play it runs, besides the verdict.
enum class Keep {
    // Whether the game holds, and why not: all that a game about to be watched, or --verify,
    // needs. The field is never read, and the proof costs a third less.
    VerdictOnly,
    // And the play's digest and fingerprint, by which a table of games tells copies apart.
    Digest,
};

// Plays the game headless: no window, pictures, font, sound or waits, and a generator of its own.
// Several threads may prove at once.
Verdict Prove(const Replay& game, Keep keep = Keep::Digest);

// The one line --verify prints for a file: its points, frames and name, and whether they are
// proven. proven is set accordingly.
std::string ProveFile(const std::string& path, bool& proven);

}  // namespace replay
