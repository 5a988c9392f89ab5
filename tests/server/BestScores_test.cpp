// The table as a server hands it out: its rows as JSON for the page.
#include <gtest/gtest.h>

#include "server/ScoreTable.h"

namespace {

// Markup in a name would close a script the JSON is pasted into: masked today (names hold only
// letters, digits and spaces), kept all the same.
TEST(BestScores, AsJsonEscapeMarkupAndQuotes) {
    server::StoredScore score;
    score.replayId = 3;
    score.points = 9;
    score.name = "<b>&\"x\"";
    EXPECT_EQ(server::AsJson(server::Listed({score})),
              R"([{"id":3,"points":9,"name":"\u003cb\u003e\u0026\"x\""}])");
}

}  // namespace
