#include "server/RateLimit.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(RateLimit, AFullBookForgetsAddressesWithTheirWholeAllowanceBeforeTurningNewOnesAway) {
    RateLimit limit(2, 3);
    const auto start = RateLimit::Clock::time_point() + seconds(1000);
    for (const char* address : {"a", "b", "c"}) {
        EXPECT_FALSE(limit.Take(address, start));
    }
    EXPECT_TRUE(limit.Take("d", start)) << "every remembered address is still posting";
    EXPECT_FALSE(limit.Take("d", start + seconds(30))) << "all refilled: forgotten, room made";
    EXPECT_FALSE(limit.Take("d", start + seconds(30)));
    EXPECT_TRUE(limit.Take("d", start + seconds(30))) << "and the newcomer is limited as any";
}

}  // namespace
