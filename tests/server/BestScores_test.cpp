// The list a server hands out is read from the database in the list's own order, through an
// index; it must be exactly the order the game gives its high-score file.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "server/ScoreTable.h"
#include "server/SqliteStore.h"
#include "support/Scratch.h"

namespace {

std::vector<std::int64_t> Ids(const std::vector<server::StoredScore>& scores) {
    std::vector<std::int64_t> ids;
    for (const auto& score : scores) {
        ids.push_back(score.replayId);
    }
    return ids;
}

std::vector<std::int64_t> Ids(const std::vector<server::ListedScore>& listed) {
    std::vector<std::int64_t> ids;
    for (const auto& entry : listed) {
        ids.push_back(entry.score.replayId);
    }
    return ids;
}

TEST(BestScores, AreTheGamesOrderReadFromTheDatabase) {
    ScratchDir scratch(false);
    std::string error;
    auto store = server::SqliteStore::Open(scratch.File("scores.sqlite"), error);
    ASSERT_TRUE(store) << error;
    // Equal points by the name's bytes: case, a name that begins another, the same line twice
    // (oldest first); points of two and three digits.
    const struct {
        int points;
        const char* name;
    } games[] = {{5, "Ann"}, {5, "Anna"}, {5, "ann"}, {100, "Bob"}, {99, "Bob 2"},
                 {5, "Ann"}, {12, ""},    {5, "B"},   {0, "Zed"},   {100, "Bo"}};
    int digest = 0;
    for (const auto& game : games) {
        ASSERT_TRUE(store->Add(game.points, game.name, "replay", std::to_string(++digest), error))
            << error;
    }
    const auto all = store->All(error);
    ASSERT_TRUE(all) << error;
    for (std::size_t most = 1; most <= std::size(games) + 1; ++most) {
        const auto best = store->Best(most, error);
        ASSERT_TRUE(best) << error;
        // As read, without ranking them again.
        EXPECT_EQ(Ids(*best), Ids(server::Ranked(*all, most))) << "the best " << most;
    }
}

// Markup in a name would close a script the JSON is pasted into: masked today (names hold only
// letters, digits and spaces), kept all the same.
TEST(BestScores, AsJsonEscapeMarkupAndQuotes) {
    server::StoredScore score;
    score.replayId = 3;
    score.points = 9;
    score.name = "<b>&\"x\"";
    EXPECT_EQ(server::AsJson(server::Ranked({score}, 1)),
              R"([{"id":3,"points":9,"name":"\u003cb\u003e\u0026\"x\""}])");
}

}  // namespace
