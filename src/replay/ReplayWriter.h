#pragma once

#include <string>

#include "replay/Replay.h"
#include "storage/FileCalls.h"

namespace replay {

// The bytes of a replay file (docs/replay-format.md describes them).
std::string Encode(const Replay& replay);

// Writes the file for good, whole or not at all: a crash leaves the old file or the new one
// (storage::DurableFile). False, with the reason in error, when it could not be written.
bool Save(const std::string& path, const Replay& replay, std::string& error);
// The same through calls of a test's own, to fail or to watch them.
bool Save(const std::string& path, const Replay& replay, std::string& error,
          storage::FileCalls& calls);

}  // namespace replay
