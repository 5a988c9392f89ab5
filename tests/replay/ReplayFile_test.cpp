#include "replay/ReplayFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "replay/Recorder.h"
#include "replay/ReplayFormat.h"
#include "replay/Shelf.h"
#include "replay/TakenEvent.h"
#include "scores/ScoreLine.h"
#include "support/Scratch.h"
#include "support/WatchedCalls.h"

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
    // A byte after the last frame, under a sum that holds: still not a replay this game wrote.
    std::string longer = good.substr(0, good.size() - replay::format::kSumSize) + '\0';
    const std::uint32_t sum = replay::format::Checksum(longer.data(), longer.size());
    for (int shift = 0; shift < 32; shift += 8) {
        longer += static_cast<char>(sum >> shift);
    }
    EXPECT_FALSE(replay::Decode(longer, read, error));
    EXPECT_EQ(error, "holds bytes after its last frame");
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
    // The recorder keeps the longest game the reader takes, and drops one a frame longer rather
    // than keep a file that the game itself would refuse.
    for (const std::uint32_t frames :
         {replay::limits::kMostFrames, replay::limits::kMostFrames + 1}) {
        replay::Recorder recorder;
        recorder.Begin(0, "");
        for (std::uint32_t frame = 0; frame < frames; ++frame) {
            recorder.Take(nullptr, false, false);
        }
        const auto kept = recorder.Finish(1, "Ann");
        ASSERT_EQ(kept.has_value(), frames == replay::limits::kMostFrames) << frames;
        if (kept) {
            EXPECT_TRUE(replay::Decode(replay::Encode(*kept), read, error)) << error;
        }
    }
    Replay drawn;
    drawn.drawsBefore = replay::limits::kMostDrawsBefore + 1;
    EXPECT_FALSE(replay::Decode(replay::Encode(drawn), read, error));
    Replay named;
    named.name.assign(replay::limits::kLongestText + 1, 'a');
    EXPECT_FALSE(replay::Decode(replay::Encode(named), read, error));

    // A file of 1 MiB, the most a replay may be, loads; one byte more does not. Keys that change
    // every frame, as many as fit, and the names fill it to the byte.
    Replay largest;
    std::uint32_t fit = 0;
    for (std::uint32_t step = 1u << 18; step > 0; step /= 2) {
        largest.frames.resize(fit + step);
        for (std::uint32_t frame = fit; frame < fit + step; ++frame) {
            largest.frames[frame] = Key(static_cast<std::uint16_t>('a' + frame % 26));
        }
        if (replay::Encode(largest).size() <= replay::limits::kLargestFile) {
            fit += step;
        }
    }
    largest.frames.resize(fit);
    ASSERT_LE(fit, replay::limits::kMostFrames);
    const std::size_t room = replay::limits::kLargestFile - replay::Encode(largest).size();
    ASSERT_LT(room, 2 * replay::limits::kLongestText);
    largest.nameBefore.assign(std::min(room, replay::limits::kLongestText), 'b');
    largest.name.assign(room - largest.nameBefore.size(), 'n');
    ScratchDir dir(false);
    const std::string path = dir.File("largest.replay");
    ASSERT_TRUE(replay::Save(path, largest, error)) << error;
    ASSERT_EQ(std::filesystem::file_size(path), replay::limits::kLargestFile);
    EXPECT_TRUE(replay::Load(path, read, error)) << error;
    EXPECT_EQ(read.frames.size(), largest.frames.size());
    largest.name += 'n';
    ASSERT_TRUE(replay::Save(path, largest, error)) << error;
    ASSERT_EQ(std::filesystem::file_size(path), replay::limits::kLargestFile + 1);
    EXPECT_FALSE(replay::Load(path, read, error));
    EXPECT_EQ(error, "larger than any replay can be");
}

// Every replay already kept must read as it did when it was kept: a game of 223 points kept by
// an earlier version, and every kind of record, byte for byte. A change to how any record is
// written (a long run counted from 7 rather than 8, say) reads and writes consistently and so
// passes every round trip; only bytes fixed here catch it.
TEST(ReplayFile, KeptReplaysReadAsTheyWereWritten) {
    const std::string kept = ReadWholeFile(ARCADE_TEST_DATA "/replay/whole-game-223.replay");
    ASSERT_EQ(kept.size(), 380u);
    Replay game;
    std::string error;
    ASSERT_TRUE(replay::Decode(kept, game, error)) << error;
    EXPECT_EQ(game.gameVersion, "1.0.0");
    EXPECT_EQ(game.points, 223u);
    EXPECT_EQ(game.name, "Anna");
    ASSERT_EQ(game.frames.size(), 12627u);
    // Enter starts the game on the menu, and stores the score at the end.
    EXPECT_EQ(game.frames.front(), Key(13, 13));
    EXPECT_EQ(game.frames.back(), Key(13, 13));
    std::size_t heldLeft = 0;
    std::size_t heldRight = 0;
    std::uint32_t digest = 0;
    for (const Taken& taken : game.frames) {
        heldLeft += taken.left;
        heldRight += taken.right;
        const std::string fields = {
            static_cast<char>(taken.event),    static_cast<char>(taken.sym),
            static_cast<char>(taken.sym >> 8), static_cast<char>(taken.unicode),
            static_cast<char>(taken.mod),      static_cast<char>(taken.button),
            static_cast<char>(taken.left),     static_cast<char>(taken.right)};
        digest = replay::format::Checksum(fields.data(), fields.size()) ^ (digest * 31);
    }
    EXPECT_EQ(heldLeft, 89u);
    EXPECT_EQ(heldRight, 55u);
    EXPECT_EQ(digest, 3276299116u);
    EXPECT_EQ(replay::Encode(game), kept);

    std::string hex;
    for (const char byte : replay::Encode(Varied())) {
        constexpr char kDigits[] = "0123456789abcdef";
        hex += kDigits[static_cast<unsigned char>(byte) >> 4];
        hex += kDigits[byte & 0xf];
    }
    EXPECT_EQ(hex,
              "4152504c0105312e302e30a3c40103416e6edf0106416e6e6120429105052000200209052080022085"
              "200020c2e900e200e901e201e9a402e2a402040d00000c07042000201004b30200001400db6b0504");
}

// A replay goes beside its file, is synced, and only then renamed over it: a crash at any moment
// leaves the old replay or the new one whole. A step that fails leaves the old one and nothing
// beside it.
TEST(ReplayFile, IsPutInPlaceWholeAndForGoodOrNotAtAll) {
    ScratchDir dir(false);
    const std::string path = dir.File("last.replay");
    Replay old = Varied();
    old.points = 1;
    std::string error;
    ASSERT_TRUE(replay::Save(path, old, error)) << error;
    const std::string oldBytes = ReadWholeFile(path);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);

    WatchedCalls calls;
    const std::string newBytes = replay::Encode(Varied());
    calls.beforeRename = [&] {
        EXPECT_EQ(ReadWholeFile(path), oldBytes);
        EXPECT_EQ(ReadWholeFile(calls.temporary), newBytes);
    };
    ASSERT_TRUE(replay::Save(path, Varied(), error, calls)) << error;
    EXPECT_EQ(calls.log, (std::vector<std::string>{"create", "write", "sync", "close", "rename",
                                                   "sync folder"}));
    EXPECT_EQ(std::filesystem::path(calls.temporary).parent_path(), dir.Path());
    EXPECT_EQ(calls.renamedTo, path);
    EXPECT_EQ(ReadWholeFile(path), newBytes);
    struct stat facts {};
    ASSERT_EQ(stat(path.c_str(), &facts), 0);
    EXPECT_EQ(facts.st_mode & 07777, 0640u);

    // A new file stays the player's to read back, whatever the mask (the browser's is 0777).
    const std::string fresh = dir.File("fresh.replay");
    const mode_t mask = umask(0777);
    const bool saved = replay::Save(fresh, old, error);
    umask(mask);
    ASSERT_TRUE(saved) << error;
    ASSERT_EQ(stat(fresh.c_str(), &facts), 0);
    EXPECT_EQ(facts.st_mode & 0600, 0600u);
    ASSERT_EQ(unlink(fresh.c_str()), 0);

    for (const char* step : {"create", "write", "sync", "close", "rename"}) {
        WatchedCalls failing;
        failing.failing = step;
        EXPECT_FALSE(replay::Save(path, old, error, failing)) << step;
        EXPECT_EQ(error, "Input/output error") << step;
        EXPECT_EQ(ReadWholeFile(path), newBytes) << step;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2)
            << step << ": a file left beside it";  // the font and the replay
    }

    // Writes a signal interrupts, and writes that take only part, go on where they stopped.
    WatchedCalls slow;
    slow.interrupted = 3;
    slow.mostPerWrite = 5;
    ASSERT_TRUE(replay::Save(path, old, error, slow)) << error;
    EXPECT_EQ(ReadWholeFile(path), oldBytes);
    EXPECT_GT(std::count(slow.log.begin(), slow.log.end(), "write"), 3 + 2);
}

// Only losing the window pauses a game, so only that is kept; gaining it back changes nothing.
// (A regained focus kept as a lost one would pause a game already paused: nothing would differ on
// screen, so only this catches it.)
TEST(ReplayFile, OnlyAFocusLostIsKept) {
    SDL_Event event{};
    event.type = SDL_ACTIVEEVENT;
    event.active.state = SDL_APPINPUTFOCUS;
    event.active.gain = 0;
    EXPECT_EQ(replay::TakenFrom(&event, false, false).event, Taken::Event::FocusLost);
    event.active.gain = 1;
    EXPECT_EQ(replay::TakenFrom(&event, false, false).event, Taken::Event::None);
}

// replays/ keeps the games of the list's best lines only, however many games are stored; the
// last game stays in last.replay, and files of other kinds stay too.
TEST(ReplayShelf, KeepsTheGamesOfTheHundredBestLines) {
    namespace fs = std::filesystem;
    ScratchDir dir(false);
    fs::create_directory(replay::shelf::kFolder);
    WriteWholeFile("replays/notes.txt", "mine\n");
    std::vector<std::string> list;  // highest first, as the file holds it
    const auto store = [&](std::uint32_t points, const std::string& name) {
        Replay game = Varied();
        game.points = points;
        game.name = name;
        const std::string line = ScoreLine(static_cast<int>(points), name);
        list.insert(std::find_if(list.begin(), list.end(),
                                 [&](const std::string& other) {
                                     return std::stoi(other) < std::stoi(line);
                                 }),
                    line);
        std::string error;
        ASSERT_TRUE(replay::KeepReplay(
            game, {list.begin(), list.begin() + std::min<std::size_t>(list.size(), 100)}, error))
            << error;
    };
    const auto kept = [] {
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(replay::shelf::kFolder)) {
            files.push_back(entry.path().filename().string());
        }
        std::sort(files.begin(), files.end());
        return files;
    };
    store(5, "");
    store(7, "Bo");
    store(7, "Bo");
    EXPECT_EQ(kept(),
              (std::vector<std::string>{"5 points - no name.replay", "7 points - Bo (2).replay",
                                        "7 points - Bo.replay", "notes.txt"}));
    for (std::uint32_t points = 10; points < 109; ++points) {
        store(points, "P");
    }
    // 99 lines above the two of 7 and the one of 5: of those only the 7 that is 100th stays.
    std::vector<std::string> files = kept();
    EXPECT_EQ(files.size(), 100u + 1);
    EXPECT_EQ(std::count(files.begin(), files.end(), "7 points - Bo.replay"), 1);
    EXPECT_EQ(std::count(files.begin(), files.end(), "7 points - Bo (2).replay"), 0);
    EXPECT_EQ(std::count(files.begin(), files.end(), "5 points - no name.replay"), 0);
    EXPECT_EQ(std::count(files.begin(), files.end(), "notes.txt"), 1);
    store(3, "Low");  // below the hundred: kept as the last game only
    EXPECT_EQ(kept(), files);
    EXPECT_EQ(ReadWholeFile(replay::shelf::kLastGame), replay::Encode([] {
                  Replay game = Varied();
                  game.points = 3;
                  game.name = "Low";
                  return game;
              }()));
    // A list that could not be read removes nothing.
    std::string error;
    ASSERT_TRUE(replay::KeepReplay(Varied(), {}, error)) << error;
    EXPECT_EQ(kept().size(), files.size() + 1);
}

}  // namespace
