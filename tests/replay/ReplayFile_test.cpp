#include "replay/ReplayFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using replay::Replay;
using replay::Taken;

Taken Key(std::uint16_t sym, std::uint16_t unicode = 0, bool left = false) {
    Taken taken;
    taken.event = Taken::Event::Key;
    taken.sym = sym;
    taken.unicode = unicode;
    taken.left = left;
    return taken;
}

// Runs of every length the records tell apart, repeated keys, and each kind of event.
Replay Varied() {
    Replay game;
    game.gameVersion = "1.0.0";
    game.drawsBefore = 25123;
    game.nameBefore = "Ann";
    game.points = 223;
    game.name = "Anna B";
    Taken pad;
    pad.event = Taken::Event::PadButton;
    pad.button = 7;
    Taken focus;
    focus.event = Taken::Event::FocusLost;
    Taken quit;
    quit.event = Taken::Event::Quit;
    Taken held;
    held.right = true;
    for (int run : {1, 7, 8, 9, 300}) {
        game.frames.insert(game.frames.end(), static_cast<std::size_t>(run), Key(' ', ' ', true));
        game.frames.insert(game.frames.end(), static_cast<std::size_t>(run), held);
    }
    for (Taken taken : {Key(13), pad, Key(' ', ' '), focus, Key(307, 0), quit, Taken()}) {
        game.frames.push_back(taken);
    }
    game.frames[3].mod = 0x100;  // an Alt held with a key
    return game;
}

TEST(ReplayFile, WritesSmallAndReadsBackTheSameGame) {
    const Replay game = Varied();
    const std::string bytes = replay::Encode(game);
    // A frame of the fire key repeated costs a byte, a run of frames a byte or two.
    EXPECT_LT(bytes.size(), 96u);
    Replay read;
    std::string error;
    ASSERT_TRUE(replay::Decode(bytes, read, error)) << error;
    EXPECT_EQ(read.gameVersion, "1.0.0");
    EXPECT_EQ(read.drawsBefore, 25123u);
    EXPECT_EQ(read.nameBefore, "Ann");
    EXPECT_EQ(read.points, 223u);
    EXPECT_EQ(read.name, "Anna B");
    EXPECT_TRUE(read.frames == game.frames);
}

TEST(ReplayFile, RefusesEveryDamageWithOneLine) {
    const std::string good = replay::Encode(Varied());
    Replay read;
    std::string error;
    for (std::size_t size = 0; size < good.size(); ++size) {
        EXPECT_FALSE(replay::Decode(good.substr(0, size), read, error)) << size;
        EXPECT_FALSE(error.empty());
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
        std::string changed = good;
        changed[at] = static_cast<char>(changed[at] ^ 0x10);
        EXPECT_FALSE(replay::Decode(changed, read, error)) << at;
    }
    EXPECT_FALSE(replay::Decode(good + "x", read, error));
    std::string newer = good;
    newer[4] = 2;
    EXPECT_FALSE(replay::Decode(newer, read, error));
    EXPECT_EQ(error, "written in replay format 2, this game reads format 1");
    EXPECT_FALSE(replay::Decode(std::string(replay::limits::kLargestFile + 1, 'A'), read, error));
}

TEST(ReplayFile, RefusesMoreThanTheLimitsAllowEvenWhenWellFormed) {
    Replay longest;
    longest.frames.resize(replay::limits::kMostFrames);
    Replay read;
    std::string error;
    EXPECT_TRUE(replay::Decode(replay::Encode(longest), read, error)) << error;
    longest.frames.emplace_back();
    EXPECT_FALSE(replay::Decode(replay::Encode(longest), read, error));
    Replay drawn;
    drawn.drawsBefore = replay::limits::kMostDrawsBefore + 1;
    EXPECT_FALSE(replay::Decode(replay::Encode(drawn), read, error));
    Replay named;
    named.name.assign(replay::limits::kLongestText + 1, 'a');
    EXPECT_FALSE(replay::Decode(replay::Encode(named), read, error));
}

}  // namespace
