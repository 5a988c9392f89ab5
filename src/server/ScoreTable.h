#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "server/ScoreStore.h"

namespace server {

// A score as the list shows it: its line as the game writes it into its own file.
struct ListedScore {
    StoredScore score;
    std::string line;
};

// The scores in the list's own order, highest first (the game's ranking; equal lines oldest
// first), at most the first most of them.
std::vector<ListedScore> Ranked(const std::vector<StoredScore>& scores, std::size_t most);

// The list as the game's high-score file holds it: one line each, each ending in a line feed.
std::string AsLines(const std::vector<ListedScore>& listed);
// The same rows as [{"id":N,"points":N,"name":"..."}], for the page to offer watching.
std::string AsJson(const std::vector<ListedScore>& listed);

}  // namespace server
