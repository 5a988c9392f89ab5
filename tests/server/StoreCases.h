#pragma once

// What the SQLite and the PostgreSQL table do alike, each run by that store's own test on a store
// it opened on an empty table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "server/ScoreStore.h"

namespace store_cases {

inline server::Posted Post(int points, std::string name, std::string digest, std::string play = "",
                           std::string fingerprint = "") {
    server::Posted post;
    post.points = points;
    post.name = std::move(name);
    post.replay = "replay of " + digest;
    post.digest = std::move(digest);
    post.play = std::move(play);
    post.fingerprint = std::move(fingerprint);
    return post;
}

// A fingerprint of this many samples (replay::PlayFingerprint's bytes), every one after the first
// point, one airplane and the cannon in the middle; the tallies of those from `changed` on differ
// from the same seed's.
inline std::string Fingerprint(std::uint32_t seed, std::size_t samples,
                               std::size_t changed = SIZE_MAX) {
    std::string bytes;
    for (std::size_t at = 0; at < samples; ++at) {
        std::uint32_t tally = (seed + (at >= changed ? 77777u : 0u)) * 2654435761u + at * 40503u;
        tally = (tally ^ (tally >> 15)) % 65535u + 1;
        bytes += static_cast<char>(tally & 0xff);
        bytes += static_cast<char>(tally >> 8);
        bytes += static_cast<char>(100);  // the first airplane
        bytes += static_cast<char>(0);    // no second one
        bytes += static_cast<char>(100);  // the cannon
    }
    return bytes;
}

inline void KeepsOneLineAGameAndNoCopyOfIt(server::ScoreStore& store) {
    std::string error;
    const auto before = store.Count(error);
    ASSERT_TRUE(before) << error;
    const auto first = store.Add(Post(22, "Alice", "d1", "play-1", Fingerprint(1, 64)), error);
    ASSERT_TRUE(first) << error;
    EXPECT_TRUE(first->fresh);
    const auto again = store.Add(Post(22, "Alice", "d1", "play-1", Fingerprint(1, 64)), error);
    ASSERT_TRUE(again) << error;
    EXPECT_FALSE(again->fresh);
    EXPECT_FALSE(again->sameGame) << "the same bytes again are the same post";
    EXPECT_EQ(again->replayId, first->replayId);
    const auto stolen = store.Add(Post(22, "Mallory", "d2", "play-1", Fingerprint(2, 64)), error);
    ASSERT_TRUE(stolen) << error;
    EXPECT_TRUE(stolen->sameGame && !stolen->copy);
    EXPECT_EQ(stolen->kept.name, "Alice");
    EXPECT_EQ(stolen->replayId, first->replayId);

    // Another play that agrees with Alice's at 40 of its 64 samples copies it, whatever its
    // points; one that agrees at 31 is a game of its own.
    const auto copy = store.Add(Post(9, "Mallory", "d3", "play-3", Fingerprint(1, 64, 40)), error);
    ASSERT_TRUE(copy) << error;
    EXPECT_TRUE(copy->sameGame && copy->copy);
    EXPECT_EQ(copy->kept.name, "Alice");
    EXPECT_EQ(copy->kept.points, 22);
    const auto own = store.Add(Post(22, "Bob", "d4", "play-4", Fingerprint(1, 64, 31)), error);
    ASSERT_TRUE(own) << error;
    EXPECT_TRUE(own->fresh);
    // A play that agrees with both Alice's and Bob's copies the one it agrees with more.
    const auto closer = store.Add(Post(22, "Eve", "d5", "play-5", Fingerprint(1, 64, 62)), error);
    ASSERT_TRUE(closer) << error;
    EXPECT_EQ(closer->kept.name, "Alice");
    error = "stale";
    const auto looked = store.Copied(Fingerprint(1, 64, 33), error);
    EXPECT_EQ(error, "");
    EXPECT_TRUE(looked && looked->name == "Bob") << "Bob's has all 64 of its own samples";

    // Lines without a play or a fingerprint (an older server's) never collide with each other.
    for (const char* digest : {"d6", "d7"}) {
        const auto unknown = store.Add(Post(5, "Old", digest), error);
        ASSERT_TRUE(unknown) << error;
        EXPECT_TRUE(unknown->fresh) << digest;
    }
    EXPECT_EQ(store.Count(error), *before + 4);
}

// More points first; equal points in the order they were listed, whatever their names.
inline void ListsEqualPointsInTheOrderListed(server::ScoreStore& store) {
    const struct {
        int points;
        const char* name;
    } games[] = {{5, "Ann"}, {5, "Zed"}, {100, "Bob"}, {5, "ann"}, {99, "Bob 2"},
                 {5, "Ann"}, {12, ""},   {5, "B"},     {0, "Z"},   {100, "Bo"}};
    std::string error;
    int digest = 0;
    for (const auto& game : games) {
        ASSERT_TRUE(store.Add(Post(game.points, game.name, std::to_string(++digest)), error))
            << error;
    }
    const auto best = store.Best(9, error);
    ASSERT_TRUE(best) << error;
    std::vector<std::string> read;
    for (const auto& score : *best) {
        read.push_back(std::to_string(score.points) + " " + score.name);
    }
    EXPECT_EQ(read, (std::vector<std::string>{"100 Bob", "100 Bo", "99 Bob 2", "12 ", "5 Ann",
                                              "5 Zed", "5 ann", "5 Ann", "5 B"}));
}

}  // namespace store_cases
