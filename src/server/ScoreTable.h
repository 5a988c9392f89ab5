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

// The best scores as the store reads them, in the table's order (ScoreStore::Best), with their
// lines.
std::vector<ListedScore> Listed(const std::vector<StoredScore>& best);

// The list as the game's high-score file holds it: one line each, each ending in a line feed.
std::string AsLines(const std::vector<ListedScore>& listed);
// The same rows as [{"id":N,"points":N,"name":"..."}], for the page to offer watching.
std::string AsJson(const std::vector<ListedScore>& listed);

}  // namespace server
