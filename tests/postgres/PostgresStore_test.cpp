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

#include "StoreCases.h"

namespace {
using server::PostgresStore;
using store_cases::Post;

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
        Query("DROP TABLE IF EXISTS scores, score_marks");
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
    server::Posted odd = Post(40, std::string("O'Neil\xff\xfe", 8), std::string("d\0igest", 7));
    odd.replay = std::string("ARC\0\xff\x01'; DROP TABLE scores; --", 30);
    const auto kept = store->Add(odd, error);
    ASSERT_TRUE(kept) << error;
    EXPECT_EQ(store->Replay(kept->replayId, error), odd.replay);
    const auto all = store->All(error);
    ASSERT_TRUE(all) << error;
    ASSERT_EQ(all->size(), 1u);
    EXPECT_EQ((*all)[0].name, odd.name);
    error = "stale";
    EXPECT_FALSE(store->Replay(kept->replayId + 1000, error));
    EXPECT_EQ(error, "") << "an unknown id is no failure";

    store_cases::KeepsOneLineAGameAndNoCopyOfIt(*store);
    // A second server on the same database finds the table as it is.
    auto other = Open();
    ASSERT_TRUE(other);
    EXPECT_EQ(other->Count(error), 5u);
}

// A table as servers made it before plays were told apart: it gains what it lacks, and its
// lines wait to be proven again for their fingerprints.
TEST_F(PostgresStoreTest, OpensATableAnOlderServerMade) {
    Query(R"(CREATE TABLE scores (id bigserial PRIMARY KEY, points integer NOT NULL,
        name bytea NOT NULL, digest bytea NOT NULL UNIQUE, replay bytea NOT NULL,
        created timestamptz NOT NULL DEFAULT now());
        CREATE INDEX scores_listed ON scores (points DESC, name DESC, id);
        INSERT INTO scores (points, name, digest, replay) VALUES
            (7, 'Zoe', 'd0', '\x00'), (7, 'Al', 'd1', '\x01'))");
    auto store = Open();
    ASSERT_TRUE(store);
    std::string error;
    const auto waiting = store->Unprinted(0, 10, error);
    ASSERT_TRUE(waiting) << error;
    ASSERT_EQ(waiting->size(), 2u);
    ASSERT_TRUE(
        store->SetPrints({{(*waiting)[0].replayId, "play-0", store_cases::Fingerprint(3, 40)},
                          {(*waiting)[1].replayId, "", ""}},
                         error))
        << error;
    EXPECT_EQ(store->Unprinted(0, 10, error)->size(), 0u);
    const auto copy =
        store->Add(Post(7, "Mallory", "d2", "play-2", store_cases::Fingerprint(3, 40, 30)), error);
    ASSERT_TRUE(copy) << error;
    EXPECT_TRUE(copy->copy);
    EXPECT_EQ(copy->kept.name, "Zoe");
    const auto best = store->Best(2, error);
    ASSERT_TRUE(best) << error;
    EXPECT_EQ((*best)[0].name + (*best)[1].name, "ZoeAl") << "equal points as they were listed";
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
                const auto added = stores[t % kServers]->Add(Post(i, "P", game), error);
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
    ASSERT_TRUE(store->Add(Post(1, "Before", "d1"), error)) << error;
    // A restart of the database drops every connection the pool holds.
    const auto dropped = Query(
        "SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE "
        "datname = current_database() AND pid <> pg_backend_pid()");
    ASSERT_GE(dropped[0][0].as<int>(), 1) << "no connection of the store was dropped";

    const auto after = store->Add(Post(2, "After", "d2"), error);
    ASSERT_TRUE(after) << error;
    EXPECT_TRUE(after->fresh);
    const auto all = store->All(error);
    ASSERT_TRUE(all) << error;
    EXPECT_EQ(all->size(), 2u);
}

TEST_F(PostgresStoreTest, ListsEqualPointsInTheOrderListed) {
    auto store = Open();
    ASSERT_TRUE(store);
    store_cases::ListsEqualPointsInTheOrderListed(*store);
}

TEST(PostgresStoreFaults, NoDatabaseIsAnErrorNotACrash) {
    std::string error;
    const auto store = PostgresStore::Open(
        "postgresql:///arcade?host=/nonexistent-folder&port=1&user=arcade", error);
    EXPECT_FALSE(store);
    EXPECT_NE(error, "");
}
}  // namespace
