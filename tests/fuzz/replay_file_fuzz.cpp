// Any bytes as a replay file: read in bounded memory, and whatever reads back writes out to the
// very same replay again.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <cstddef>
#include <string>

#include "replay/ReplayFile.h"

namespace {
void Require(bool holds, const char* what) {
    if (!holds) {
        fprintf(stderr, "replay file fuzz: %s\n", what);
        abort();
    }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    replay::Replay read;
    std::string error;
    if (!replay::Decode(bytes, read, error)) {
        Require(!error.empty(), "refused without saying why");
        return 0;
    }
    Require(read.frames.size() <= replay::limits::kMostFrames, "more frames than the limit");
    replay::Replay again;
    Require(replay::Decode(replay::Encode(read), again, error), "its own writing does not read");
    Require(again.frames == read.frames && again.points == read.points && again.name == read.name &&
                again.nameBefore == read.nameBefore && again.drawsBefore == read.drawsBefore &&
                again.gameVersion == read.gameVersion,
            "reads back as another replay");
    return 0;
}
