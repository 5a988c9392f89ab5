// Any bytes posted to the score server as a replay: refused with a status and one line, or taken
// with names that can only be letters, digits and inner spaces, and a game of bounded length.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <cstddef>
#include <string>

#include "scores/LongestName.h"
#include "server/PostCheck.h"
#include "server/ServerLimits.h"

namespace {
void Require(bool holds, const char* what) {
    if (!holds) {
        fprintf(stderr, "posted replay fuzz: %s\n", what);
        abort();
    }
}

bool Plain(const std::string& name) {
    if (name.size() > kLongestName || (!name.empty() && name[0] == ' ')) {
        return false;
    }
    for (const char c : name) {
        if (!(c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
              (c >= 'a' && c <= 'z'))) {
            return false;
        }
    }
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    replay::Replay game;
    server::Refusal refusal;
    if (!server::CheckPosted(body, game, refusal)) {
        Require(refusal.status == 400 || refusal.status == 422, "refused with another status");
        Require(!refusal.reason.empty() && refusal.reason.find('\n') == std::string::npos,
                "refused without one line of reason");
        return 0;
    }
    Require(Plain(game.name) && Plain(game.nameBefore), "took a name typing cannot make");
    Require(game.frames.size() <= server::limits::kMostPostedFrames, "took a game too long");
    return 0;
}
