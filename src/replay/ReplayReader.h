#pragma once

#include <string>

#include "replay/Replay.h"

namespace replay {

// Reads the bytes of a replay file into replay. On any fault returns false with one line saying
// what is wrong in error, and leaves replay in no useful state. Never reads past the bytes given
// and never holds more than the limits allow, whatever the bytes claim.
bool Decode(const std::string& bytes, Replay& replay, std::string& error);

// Reads and decodes a file, refusing one larger than any replay can be before reading it, and
// anything but a regular file (a pipe would have it wait for ever) before reading a byte.
bool Load(const std::string& path, Replay& replay, std::string& error);

}  // namespace replay
