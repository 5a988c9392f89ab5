// The sequence the prover and the browser compute must be the desktop C library's, draw for draw:
// a replay recorded on the desktop is proven, and played in the browser, from it.
#include "random/RandSequence.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<int> Next(RandSequence& sequence, std::size_t count) {
    std::vector<int> draws(count);
    for (int& draw : draws) {
        draw = sequence.Draw();
    }
    return draws;
}

TEST(RandSequence, DrawsWhatTheCLibraryDrawsOverALongRun) {
    // Nothing else in this test draws from the library between its seeding and its last draw.
    constexpr int kLongRun = 5'000'000;
    struct Start {
        bool seeded;
        unsigned seed;
    };
    for (const Start start : {Start{false, 1}, Start{true, 0}, Start{true, 2026}}) {
        RandSequence own;
        if (start.seeded) {
            own.Seed(start.seed);
        }
        std::srand(start.seed);
        int first = -1;
        for (int i = 0; i < kLongRun && first < 0; ++i) {
            if (own.Draw() != std::rand()) {
                first = i;
            }
        }
        EXPECT_EQ(first, -1) << "seed " << start.seed << ": differs at draw " << first;
    }
    std::srand(1);  // as unseeded, for whatever runs next
}

TEST(RandSequence, AJumpOfNIsNDraws) {
    // Jumps from a fresh sequence and from one whose words have turned part way round, against a
    // sequence drawn one by one; n crosses the 31 words, the 3-word lag and the draws thrown away
    // after seeding.
    constexpr std::uint64_t kTurned = 7;
    RandSequence drawn;
    Next(drawn, kTurned);
    const RandSequence turned = drawn;
    std::uint64_t walked = 0;
    for (const std::uint64_t n :
         {0ULL, 1ULL, 30ULL, 31ULL, 34ULL, 344ULL, 1'000'000ULL, 50'000'007ULL}) {
        for (; walked < n; ++walked) {
            drawn.Draw();
        }
        RandSequence jumped = turned;
        jumped.Skip(n);
        RandSequence started;
        started.StartAfter(kTurned + n);
        RandSequence ahead = drawn;
        const std::vector<int> wanted = Next(ahead, 2 * RandSequence::kWords);
        EXPECT_EQ(Next(jumped, wanted.size()), wanted) << "a jump of " << n;
        EXPECT_EQ(Next(started, wanted.size()), wanted) << "a start after " << kTurned + n;
    }

    // Beyond any run: two jumps make their sum.
    constexpr std::uint64_t kHuge = (1ULL << 62) - 3;
    RandSequence once;
    once.Skip(kHuge + 12345);
    RandSequence twice;
    twice.Skip(kHuge);
    twice.Skip(12345);
    EXPECT_EQ(Next(once, 40), Next(twice, 40));
}

}  // namespace
