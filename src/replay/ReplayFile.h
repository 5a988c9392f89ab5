#pragma once

#include <string>

#include "replay/Replay.h"

namespace replay {

// The bytes of a replay file (docs/replay-format.md describes them).
std::string Encode(const Replay& replay);

// Reads the bytes of a replay file into replay. On any fault returns false with one line saying
// what is wrong in error, and leaves replay in no useful state. Never reads past the bytes given
// and never holds more than the limits allow, whatever the bytes claim.
bool Decode(const std::string& bytes, Replay& replay, std::string& error);

// Reads and decodes a file, refusing one larger than any replay can be before reading it.
bool Load(const std::string& path, Replay& replay, std::string& error);

// Writes the file whole or not at all: into a temporary file beside it, then renamed over it.
bool Save(const std::string& path, const Replay& replay, std::string& error);

}  // namespace replay
