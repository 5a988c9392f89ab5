// The order of the high-score list: by points where two entries both have them, else by bytes.
#include "scores/Ranking.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {
// The entries in the order the file holds them: highest first.
std::vector<std::string> Ranked(std::vector<std::string> entries) {
    std::sort(entries.begin(), entries.end(), RanksBelow);
    std::reverse(entries.begin(), entries.end());
    return entries;
}

TEST(Ranking, FilesOfTwoDigitScoresKeepTheOrderOfTheirBytes) {
    std::mt19937 pick(20261208);  // a fixed seed, and not rand(): that is the bombs' alone
    const std::string letters = "aAbB 7z\xe9";
    for (int file = 0; file < 500; ++file) {
        std::vector<std::string> entries(pick() % 40);
        for (auto& entry : entries) {
            entry = std::to_string(pick() % 10) + std::to_string(pick() % 10) + " points - ";
            for (auto letter = pick() % 4; letter > 0; --letter) {
                entry += letters[pick() % letters.size()];
            }
        }
        std::vector<std::string> byBytes = entries;
        std::sort(byBytes.begin(), byBytes.end(), std::greater<>());
        ASSERT_EQ(Ranked(entries), byBytes) << "file " << file;
    }
}

TEST(Ranking, MorePointsRankHigherAtAnyLengthAndLeadingZerosDoNotCount) {
    EXPECT_EQ(Ranked({"5 points - A", "23 points - A", "150 points - A", "16 points - A",
                      "0150 points - B", "100 points - A", "1000 points - A", "007 points - C",
                      "7 points - C", "10 points - A"}),
              (std::vector<std::string>{"1000 points - A", "150 points - A", "0150 points - B",
                                        "100 points - A", "23 points - A", "16 points - A",
                                        "10 points - A", "7 points - C", "007 points - C",
                                        "5 points - A"}));

    // Far past any number type: the digits are compared, never parsed.
    const std::string nines = std::string(200, '9') + " points - Z";
    const std::string tenToThe200 = "1" + std::string(200, '0') + " points - Z";
    const std::string fewerNines = std::string(199, '9') + " points - Z";
    EXPECT_EQ(Ranked({"223 points - A", fewerNines, tenToThe200, nines}),
              (std::vector<std::string>{tenToThe200, nines, fewerNines, "223 points - A"}));
}

TEST(Ranking, EntriesWithoutPointsStandWhereTheirBytesPutThem) {
    // Above every score what begins with a byte above the digits, below every score what begins
    // with one below them; a carriage return kept from a CRLF file ranks by its text.
    const std::vector<std::string> file = {
        "\xe9t\xe9",
        "abc",
        "Zed",
        "150 points - Bo",
        "40 points - Al\r",
        "40 points - Al",
        "9 points - Cy",
        " 50 points - indented",
        "\r",
        "",
    };
    std::vector<std::string> shuffled(file.rbegin(), file.rend());
    std::rotate(shuffled.begin(), shuffled.begin() + 4, shuffled.end());
    EXPECT_EQ(Ranked(shuffled), file);

    // std::sort needs a strict weak order: never below itself, and below passes on.
    for (const auto& a : file) {
        EXPECT_FALSE(RanksBelow(a, a)) << a;
        for (const auto& b : file) {
            for (const auto& c : file) {
                if (RanksBelow(a, b) && RanksBelow(b, c)) {
                    EXPECT_TRUE(RanksBelow(a, c)) << a << " / " << b << " / " << c;
                }
            }
        }
    }
}
}  // namespace
