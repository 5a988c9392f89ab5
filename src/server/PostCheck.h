#pragma once

#include <cstddef>
#include <string>

#include "replay/Replay.h"

namespace server {

// Why a post is refused: the HTTP status and one line for the player.
struct Refusal {
    int status = 0;
    std::string reason;
};

// Reads a posted body as a replay and checks what can be checked before proving it: that it is
// a replay at all, that its names are ones typing could leave, and that it is no longer than a
// game anyone would post. False, with the refusal, for any fault.
bool CheckPosted(const std::string& body, replay::Replay& game, Refusal& refusal);

// The posts of its address's allowance that a replay of this many frames costs beyond the one
// that let it in: one for each further five minutes of play (limits::kFramesAPostPaysFor).
int FurtherPostsCharged(std::size_t frames);

}  // namespace server
