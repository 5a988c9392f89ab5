#include "server/RateLimit.h"

#include <gtest/gtest.h>

#include <string>

#include "server/ClientAddress.h"
#include "server/PostCheck.h"

namespace {

using server::RateLimit;
using std::chrono::milliseconds;
using std::chrono::seconds;

TEST(RateLimit, ABurstOfTheRateThenOnePostEachRefillWithTheWaitToldInWholeSeconds) {
    RateLimit limit(6, 100);  // one post refills every 10 s
    const auto start = RateLimit::Clock::time_point() + seconds(1000);
    for (int post = 0; post < 6; ++post) {
        EXPECT_FALSE(limit.Take("10.0.0.1", start)) << post;
    }
    EXPECT_EQ(limit.Take("10.0.0.1", start), 10);
    EXPECT_FALSE(limit.Take("10.0.0.2", start)) << "another address has its own allowance";
    EXPECT_EQ(limit.Take("10.0.0.1", start + milliseconds(9500)), 1) << "half a second is one";
    EXPECT_FALSE(limit.Take("10.0.0.1", start + seconds(10)));
    EXPECT_TRUE(limit.Take("10.0.0.1", start + seconds(10)));
    // A long silence refills no more than the burst.
    const auto later = start + seconds(3600);
    for (int post = 0; post < 6; ++post) {
        EXPECT_FALSE(limit.Take("10.0.0.1", later)) << post;
    }
    EXPECT_TRUE(limit.Take("10.0.0.1", later));
}

// A whole four-level game pays one post; an hour of frames pays twelve, so that an allowance
// never buys more proving than as many real games.
TEST(RateLimit, ALongReplayPaysForEachFurtherFiveMinutesAndItsAddressWaitsTheLonger) {
    using server::FurtherPostsCharged;
    EXPECT_EQ(FurtherPostsCharged(0), 0);
    EXPECT_EQ(FurtherPostsCharged(12627), 0) << "the kept 223-point game";
    EXPECT_EQ(FurtherPostsCharged(15000), 0);
    EXPECT_EQ(FurtherPostsCharged(15001), 1);
    EXPECT_EQ(FurtherPostsCharged(50 * 60 * 60), 11);

    RateLimit limit(6, 100);  // one post refills every 10 s
    const auto start = RateLimit::Clock::time_point() + seconds(1000);
    EXPECT_FALSE(limit.Take("10.0.0.1", start));
    limit.Charge("10.0.0.1", 11, start);  // an hour: 6 - 12 leaves 6 owed
    EXPECT_EQ(limit.Take("10.0.0.1", start), 70) << "7 posts to refill, 10 s each";
    EXPECT_FALSE(limit.Take("10.0.0.2", start)) << "another address owes nothing";
    EXPECT_FALSE(limit.Take("10.0.0.1", start + seconds(70)));
    limit.Charge("10.0.0.9", 100, start);  // never seen: nothing to charge, nothing kept
    EXPECT_FALSE(limit.Take("10.0.0.9", start));
    // Charged as its proof ends, the allowance has refilled meanwhile: 30 s bring 3 posts back
    // before the 11 are taken, so 8 are owed, 9 to refill.
    for (int post = 0; post < 6; ++post) {
        EXPECT_FALSE(limit.Take("10.0.0.3", start)) << post;
    }
    limit.Charge("10.0.0.3", 11, start + seconds(30));
    EXPECT_EQ(limit.Take("10.0.0.3", start + seconds(30)), 90);
}

TEST(RateLimit, AFullTableForgetsTheAddressIdleLongestSoThatNoCrowdShutsANewcomerOut) {
    RateLimit limit(2, 3);
    const auto start = RateLimit::Clock::time_point() + seconds(1000);
    for (const char* address : {"a", "b", "c"}) {
        EXPECT_FALSE(limit.Take(address, start));
        EXPECT_FALSE(limit.Take(address, start));
    }
    EXPECT_TRUE(limit.Take("a", start + seconds(1))) << "a has used its allowance";
    EXPECT_FALSE(limit.Take("d", start + seconds(1))) << "all still posting, yet d may post";
    // b was idle longest and is forgotten; a, c and d are still counted.
    EXPECT_FALSE(limit.Take("b", start + seconds(1)));
    EXPECT_TRUE(limit.Take("a", start + seconds(2)));
    EXPECT_FALSE(limit.Take("d", start + seconds(2)));
    EXPECT_TRUE(limit.Take("d", start + seconds(2)));

    // A debt is never forgotten for a newcomer while any address owes nothing: a crowd of new
    // addresses cannot wipe out what a long replay cost.
    RateLimit owed(2, 3);
    EXPECT_FALSE(owed.Take("long", start));
    owed.Charge("long", 5, start);  // owes 4: 150 s before it posts again
    for (int newcomer = 0; newcomer < 20; ++newcomer) {
        EXPECT_FALSE(owed.Take("n" + std::to_string(newcomer), start));
    }
    EXPECT_EQ(owed.Take("long", start), 150);
}

TEST(RateLimit, AnIPv6HostIsCountedByItsSlash64AndIPv4ByItsAddress) {
    using server::RateKey;
    EXPECT_EQ(RateKey("2001:db8:1:2:aaaa::1"), RateKey("2001:db8:1:2:bbbb:cccc:dddd:eeee"));
    EXPECT_NE(RateKey("2001:db8:1:2::1"), RateKey("2001:db8:1:3::1"));
    EXPECT_EQ(RateKey("2001:db8:1:2::1"), "2001:db8:1:2::/64");
    EXPECT_EQ(RateKey("192.0.2.7"), "192.0.2.7");
    EXPECT_NE(RateKey("192.0.2.7"), RateKey("192.0.2.8"));
}

}  // namespace
