#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "replay/Replay.h"

namespace replay {

// Where replays are kept, beside the high-score file in the working folder: the last game as
// last.replay, and the game of every stored score in replays/ as "223 points - Anna.replay".
namespace shelf {
constexpr const char* kLastGame = "last.replay";
constexpr const char* kFolder = "replays";
// The games of this many of the list's best lines stay in replays/; the folder would otherwise
// grow by one file for every game ever stored.
constexpr std::size_t kMostKept = 100;
}  // namespace shelf

// Keeps a stored game's replay in both places, then removes from replays/ every game that is no
// longer one of bestLines: the first shelf::kMostKept lines of the high-score list as it stands
// with the game stored. With no lines (a list that could not be read) nothing is removed. False,
// with the reason in error, when the game could not be written.
bool KeepReplay(const Replay& game, const std::vector<std::string>& bestLines, std::string& error);

// Every kept replay in replays/, the highest score first (of equal scores, the first by name).
std::vector<std::string> KeptReplaysBestFirst();

}  // namespace replay
