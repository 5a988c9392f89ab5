// The shared table in a real PostgreSQL database: ARCADE_PG_URL names one that tools/with-postgres
// started for this run, and each test begins on it without a table.
#include "server/PostgresStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <pqxx/pqxx>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {
using server::PostgresStore;

std::string Url() {
    const char* url = std::getenv("ARCADE_PG_URL");
    return url ? url : "";
}

// Straight to the database, beside the store.
pqxx::result Query(const std::string& sql) {
    pqxx::connection connection(Url());
    pqxx::work transaction(connection);
    auto rows = transaction.exec(sql);
    transaction.commit();
    return rows;
}

class PostgresStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Url().empty()) << "run under tools/with-postgres";
        Query("DROP TABLE IF EXISTS scores");
    }

    std::unique_ptr<PostgresStore> Open(std::size_t connections = 4) {
        std::string error;
        auto store = PostgresStore::Open(Url(), error, connections);
        EXPECT_TRUE(store) << error;
        return store;
    }
};

TEST_F(PostgresStoreTest, KeepsScoresAndReplaysByteForByteAndEachGameOnce) {
    auto store = Open();
    ASSERT_TRUE(store);
    std::string error;
    // Whatever bytes a name or a replay holds come back as they went in: a NUL, bytes that are
    // no UTF-8, a quote that would end an SQL string.
    const std::string oddName("O'Neil\xff\xfe", 8);
    const std::string replay("ARC\0\xff\x01'; DROP TABLE scores; --", 30);

    const auto first = store->Add(12, "Ann", "replay one", "digest-1", error);
    ASSERT_TRUE(first) << error;
    EXPECT_TRUE(first->fresh);
    const auto second = store->Add(40, oddName, replay, std::string("d\0igest-2", 9), error);
    ASSERT_TRUE(second) << error;
    EXPECT_TRUE(second->fresh);
    EXPECT_NE(first->replayId, second->replayId);

    // The same game posted again is the line already kept.
    const auto again = store->Add(99, "Cheat", "other bytes", "digest-1", error);
    ASSERT_TRUE(again) << error;
    EXPECT_FALSE(again->fresh);
    EXPECT_FALSE(again->sameGame);
    EXPECT_EQ(again->replayId, first->replayId);
    // So is the same play under other bytes and another name; plays nobody knows never collide.
    ASSERT_TRUE(store->Add(5, "Bob", "bob", "digest-3", "play-3", error)) << error;
    const auto stolen = store->Add(5, "Mallory", "copied", "digest-4", "play-3", error);
    ASSERT_TRUE(stolen) << error;
    EXPECT_TRUE(stolen->sameGame);
    EXPECT_EQ(stolen->kept.name, "Bob");
    EXPECT_EQ(stolen->kept.points, 5);

    const auto all = store->All(error);
    ASSERT_TRUE(all) << error;
    ASSERT_EQ(all->size(), 3u);
    EXPECT_EQ((*all)[0].replayId, first->replayId);
    EXPECT_EQ((*all)[0].points, 12);
    EXPECT_EQ((*all)[0].name, "Ann");
    EXPECT_EQ((*all)[1].points, 40);
    EXPECT_EQ((*all)[1].name, oddName);

    EXPECT_EQ(store->Replay(second->replayId, error), replay);
    EXPECT_EQ(store->Replay(first->replayId, error), "replay one");
    error = "stale";
    EXPECT_FALSE(store->Replay(second->replayId + 1000, error));
    EXPECT_EQ(error, "") << "an unknown id is no failure";

    // A second server on the same database finds the table as it is.
    auto other = Open();
    ASSERT_TRUE(other);
    const auto seen = other->All(error);
    ASSERT_TRUE(seen) << error;
    EXPECT_EQ(seen->size(), 3u);
}

TEST_F(PostgresStoreTest, ServersStartingTogetherAndPostingAtOnceLoseNothing) {
    // Several servers start on an empty database at the same moment: each must find or make
    // the table, none may fail on another's half-made one.
    constexpr int kServers = 4;
    constexpr int kPostsEach = 25;
    constexpr std::size_t kConnections = 2;
    std::vector<std::unique_ptr<PostgresStore>> stores(kServers);
    std::vector<std::string> errors(kServers);
    {
        std::vector<std::thread> starting;
        for (int i = 0; i < kServers; ++i) {
            starting.emplace_back(
                [&, i] { stores[i] = PostgresStore::Open(Url(), errors[i], kConnections); });
        }
        for (auto& thread : starting) {
            thread.join();
        }
    }
    for (int i = 0; i < kServers; ++i) {
        ASSERT_TRUE(stores[i]) << errors[i];
    }

    // Many threads through one store share its few connections; every post is kept once, and
    // the same game from two servers at once is one line.
    std::atomic<int> failures{0};
    std::atomic<int> fresh{0};
    std::vector<std::thread> posting;
    for (int t = 0; t < 8; ++t) {
        posting.emplace_back([&, t] {
            for (int i = 0; i < kPostsEach; ++i) {
                std::string error;
                const std::string game = std::to_string(t / 2) + "-" + std::to_string(i);
                const auto added = stores[t % kServers]->Add(i, "P", game, game, error);
                failures += added ? 0 : 1;
                fresh += added && added->fresh ? 1 : 0;
            }
        });
    }
    for (auto& thread : posting) {
        thread.join();
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(fresh, 4 * kPostsEach);
    std::string error;
    const auto all = stores[0]->All(error);
    ASSERT_TRUE(all) << error;
    EXPECT_EQ(all->size(), 4u * kPostsEach);

    // No store ever held more connections than it was given.
    const auto held = Query(
        "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND "
        "pid <> pg_backend_pid()");
    EXPECT_LE(held[0][0].as<std::size_t>(), kServers * kConnections);
}

TEST_F(PostgresStoreTest, CarriesOnWhenTheDatabaseDropsItsConnections) {
    auto store = Open(3);
    ASSERT_TRUE(store);
    std::string error;
    ASSERT_TRUE(store->Add(1, "Before", "r1", "d1", error)) << error;
    // A restart of the database drops every connection the pool holds.
    const auto dropped = Query(
        "SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE "
        "datname = current_database() AND pid <> pg_backend_pid()");
    ASSERT_GE(dropped[0][0].as<int>(), 1) << "no connection of the store was dropped";

    const auto after = store->Add(2, "After", "r2", "d2", error);
    ASSERT_TRUE(after) << error;
    EXPECT_TRUE(after->fresh);
    const auto all = store->All(error);
    ASSERT_TRUE(all) << error;
    EXPECT_EQ(all->size(), 2u);
}

// The list is read in its own order, as the game ranks its file: more points first, equal
// points by the name's bytes highest first, the same line oldest first.
TEST_F(PostgresStoreTest, ReadsTheBestInTheListsOrder) {
    auto store = Open();
    ASSERT_TRUE(store);
    std::string error;
    const std::vector<std::pair<int, std::string>> games = {
        {5, "Ann"}, {5, "Anna"}, {5, "ann"}, {100, "Bob"}, {99, "Bob 2"},
        {5, "Ann"}, {12, ""},    {5, "B"},   {0, "Zed"},   {100, "Bo"}};
    for (std::size_t game = 0; game < games.size(); ++game) {
        ASSERT_TRUE(store->Add(games[game].first, games[game].second, "replay",
                               "digest " + std::to_string(game), error))
            << error;
    }
    const auto best = store->Best(9, error);
    ASSERT_TRUE(best) << error;
    std::vector<std::string> read;
    for (const auto& score : *best) {
        read.push_back(std::to_string(score.points) + " " + score.name + " #" +
                       std::to_string(score.replayId));
    }
    EXPECT_EQ(read, (std::vector<std::string>{"100 Bob #4", "100 Bo #10", "99 Bob 2 #5", "12  #7",
                                              "5 ann #3", "5 B #8", "5 Anna #2", "5 Ann #1",
                                              "5 Ann #6"}));
}

TEST(PostgresStoreFaults, NoDatabaseIsAnErrorNotACrash) {
    std::string error;
    const auto store = PostgresStore::Open(
        "postgresql:///arcade?host=/nonexistent-folder&port=1&user=arcade", error);
    EXPECT_FALSE(store);
    EXPECT_NE(error, "");
}
}  // namespace
