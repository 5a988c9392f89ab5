// The SQLite table as the server keeps it: one game one line, every commit synced before the
// answer, reads side by side, and a table made by an older server brought up to now.
#include "server/SqliteStore.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <thread>
#include <vector>

#include "StoreCases.h"
#include "support/Scratch.h"

namespace {

TEST(SqliteStore, KeepsOneLineAGameAndListsTiesInTheOrderListed) {
    ScratchDir scratch(false);
    std::string error;
    auto store = server::SqliteStore::Open(scratch.File("scores.sqlite"), error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->Synchronous(), 2) << "a commit is on the disk before the player is told";
    store_cases::KeepsOneLineAGameAndNoCopyOfIt(*store);

    auto other = server::SqliteStore::Open(scratch.File("order.sqlite"), error);
    ASSERT_TRUE(other) << error;
    store_cases::ListsEqualPointsInTheOrderListed(*other);
}

TEST(SqliteStore, OpensATableAnOlderServerMadeAndReadsItOnManyConnectionsAtOnce) {
    ScratchDir scratch(false);
    const std::string path = scratch.File("scores.sqlite");
    {
        // The table as servers made it before plays were told apart, with two lines in it.
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
        server::SqlitePtr db(raw);
        ASSERT_EQ(sqlite3_exec(db.get(),
                               "CREATE TABLE scores (id INTEGER PRIMARY KEY, points INTEGER NOT "
                               "NULL, name TEXT NOT NULL, digest TEXT NOT NULL UNIQUE, replay "
                               "BLOB NOT NULL);"
                               "CREATE INDEX scores_listed ON scores (points DESC, name DESC, id);"
                               "INSERT INTO scores (points, name, digest, replay) "
                               "VALUES (7, 'Zoe', 'd0', x'00'), (7, 'Al', 'd1', x'01')",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    std::string error;
    auto store = server::SqliteStore::Open(path, error, 3);
    ASSERT_TRUE(store) << error;
    // Its lines wait to be proven again, then carry their fingerprints.
    const auto waiting = store->Unprinted(0, 10, error);
    ASSERT_TRUE(waiting) << error;
    ASSERT_EQ(waiting->size(), 2u);
    EXPECT_EQ((*waiting)[1].replay, std::string(1, '\x01'));
    ASSERT_TRUE(
        store->SetPrints({{(*waiting)[0].replayId, "play-0", store_cases::Fingerprint(3, 40)},
                          {(*waiting)[1].replayId, "", ""}},
                         error))
        << error;
    EXPECT_EQ(store->Unprinted(0, 10, error)->size(), 0u) << "a line that no longer proves too";
    const auto copy = store->Add(
        store_cases::Post(7, "Mallory", "d2", "play-2", store_cases::Fingerprint(3, 40, 30)),
        error);
    ASSERT_TRUE(copy) << error;
    EXPECT_TRUE(copy->copy);
    EXPECT_EQ(copy->kept.name, "Zoe");

    // Four threads read at once on three connections, while posts are written.
    std::vector<std::thread> readers;
    std::vector<std::string> got(4);
    for (std::size_t t = 0; t < got.size(); ++t) {
        readers.emplace_back([&, t] {
            std::string failed;
            for (int i = 0; i < 50; ++i) {
                const auto best = store->Best(2, failed);
                if (!best || best->size() != 2) {
                    got[t] = "failed: " + failed;
                    return;
                }
                got[t] = (*best)[0].name + (*best)[1].name;
            }
        });
    }
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(store->Add(store_cases::Post(1, "P", "p" + std::to_string(i)), error)) << error;
    }
    for (std::thread& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(got, std::vector<std::string>(4, "ZoeAl")) << "equal points as they were listed";
}

}  // namespace
