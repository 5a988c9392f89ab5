// The SQLite table as the server keeps it: one game one line, every commit synced before the
// answer, and a table made by an older server still opened.
#include "server/SqliteStore.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "support/Scratch.h"

namespace {

TEST(SqliteStore, KeepsOneLineAGameSyncsEachCommitInFullAndOpensAnOlderTable) {
    ScratchDir scratch(false);
    const std::string path = scratch.File("scores.sqlite");
    {
        // The table as servers made it before plays were told apart, with a line in it.
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
        server::SqlitePtr db(raw);
        ASSERT_EQ(sqlite3_exec(db.get(),
                               "CREATE TABLE scores (id INTEGER PRIMARY KEY, points INTEGER NOT "
                               "NULL, name TEXT NOT NULL, digest TEXT NOT NULL UNIQUE, replay "
                               "BLOB NOT NULL);"
                               "INSERT INTO scores (points, name, digest, replay) "
                               "VALUES (7, 'Old', 'd0', x'00')",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    std::string error;
    auto store = server::SqliteStore::Open(path, error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->Synchronous(), 2) << "a commit is on the disk before the player is told";

    const auto first = store->Add(22, "Alice", "bytes", "d1", "play-1", error);
    ASSERT_TRUE(first) << error;
    EXPECT_TRUE(first->fresh);
    const auto again = store->Add(22, "Alice", "bytes", "d1", "play-1", error);
    ASSERT_TRUE(again) << error;
    EXPECT_FALSE(again->fresh);
    EXPECT_FALSE(again->sameGame) << "the same bytes again are the same post";
    const auto stolen = store->Add(22, "Mallory", "other bytes", "d2", "play-1", error);
    ASSERT_TRUE(stolen) << error;
    EXPECT_FALSE(stolen->fresh);
    EXPECT_TRUE(stolen->sameGame);
    EXPECT_EQ(stolen->kept.name, "Alice");
    EXPECT_EQ(stolen->kept.points, 22);
    EXPECT_EQ(stolen->replayId, first->replayId);
    // Lines without a play (an older server's) never collide with each other.
    for (const char* digest : {"d3", "d4"}) {
        const auto unknown = store->Add(5, "Bob", digest, digest, "", error);
        ASSERT_TRUE(unknown) << error;
        EXPECT_TRUE(unknown->fresh) << digest;
    }
    const auto all = store->All(error);
    ASSERT_TRUE(all) << error;
    ASSERT_EQ(all->size(), 4u);
    EXPECT_EQ((*all)[0].name, "Old");
}

}  // namespace
