#pragma once

#include <optional>
#include <string>

#include "replay/Replay.h"

namespace replay {

// Where replays are kept, beside the high-score file in the working folder: the last game as
// last.replay, and the game of every stored score in replays/ as "223 points - Anna.replay".
namespace shelf {
constexpr const char* kLastGame = "last.replay";
constexpr const char* kFolder = "replays";
}  // namespace shelf

// Keeps a stored game's replay in both places. False, with the reason in error, when either
// could not be written.
bool KeepReplay(const Replay& game, std::string& error);

// The kept replay of the highest score, for the high-score list to watch; none when none is kept.
std::optional<std::string> BestReplay();

}  // namespace replay
