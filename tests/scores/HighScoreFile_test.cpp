// The high-score file as the add-score screen reads, extends, sorts and rewrites it.
#include <errno.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "scores/Ranking.h"
#include "screens/StateAddScore.h"
#include "screens/StateShowScore.h"
#include "support/Frames.h"
#include "support/HighScores.h"
#include "support/Scratch.h"

namespace {
class HighScoreFileTest : public ::testing::Test {
  protected:
    HighScoreFileTest() { UseFakeClock(engine); }

    std::string File() const { return dir.File("highscore.txt"); }
    std::string Content() const { return ReadWholeFile(File()); }

    ScratchDir dir;
    GameEngine engine;
};

TEST_F(HighScoreFileTest, MissingEmptyAndUnterminatedFilesTakeOneMoreLine) {
    ConfirmName(engine, "Bo");
    StoreScore(engine, 7);
    EXPECT_EQ(Content(), "07 points - Bo\n");
    // A new file gets the bits of any file a program creates, not those of a private scratch.
    const mode_t mask = umask(0);
    umask(mask);
    struct stat facts {};
    ASSERT_EQ(stat(File().c_str(), &facts), 0);
    EXPECT_EQ(facts.st_mode & 0777, 0666 & ~mask);

    WriteWholeFile(File(), "");
    StoreScore(engine, 7);
    EXPECT_EQ(Content(), "07 points - Bo\n");

    // The last line has no line feed: it is still an entry, and gets one on the way back.
    WriteWholeFile(File(), "30 points - Al\n20 points - Al\n10 points - Al");
    StoreScore(engine, 25);
    EXPECT_EQ(Content(), "30 points - Al\n25 points - Bo\n20 points - Al\n10 points - Al\n");
}

TEST_F(HighScoreFileTest, EmptyLinesAndCarriageReturnsAreKeptAsEntries) {
    WriteWholeFile(File(), "40 points - Al\r\n\n20 points - Al\n");
    ConfirmName(engine, "Bo");
    StoreScore(engine, 30);
    // The carriage return stays in its entry; the empty entry sorts first, so it is written last.
    EXPECT_EQ(Content(), "40 points - Al\r\n30 points - Bo\n20 points - Al\n\n");
}

TEST_F(HighScoreFileTest, EntriesRankByPointsThenByTheirBytes) {
    ConfirmName(engine, "Ann");
    for (int score : {5, 23, 150, 16, 15, 100, 10, 9}) {
        StoreScore(engine, score);
    }
    EXPECT_EQ(SplitLines(Content()),
              (std::vector<std::string>{"150 points - Ann", "100 points - Ann", "23 points - Ann",
                                        "16 points - Ann", "15 points - Ann", "10 points - Ann",
                                        "09 points - Ann", "05 points - Ann"}));

    // Same score: lower case before upper case before digits before a space before no name;
    // bytes above 127 compare as unsigned, after every letter. No name typed now begins with a
    // space, but a file from before may hold one.
    WriteWholeFile(File(), "42 points - \xE9ric\n42 points -  b\n");
    for (const char* name : {"Bob", "", "bob", "7b"}) {
        ConfirmName(engine, name);
        StoreScore(engine, 42);
    }
    EXPECT_EQ(SplitLines(Content()),
              (std::vector<std::string>{"42 points - \xE9ric", "42 points - bob", "42 points - Bob",
                                        "42 points - 7b", "42 points -  b", "42 points - "}));

    EXPECT_EQ(StateAddScore::itos(0), "0");
    EXPECT_EQ(StateAddScore::itos(-12), "-12");
    EXPECT_EQ(StateAddScore::itos(INT_MAX), "2147483647");
}

TEST_F(HighScoreFileTest, EveryStoreAddsExactlyOneLine) {
    WriteWholeFile(File(), "3 points - x\n2 points - x\n1 points - x\n");
    ConfirmName(engine, "N");
    constexpr int kStores = 60;
    for (int i = 0; i < kStores; ++i) {
        StoreScore(engine, i % 7);  // equal entries too: none is merged
    }
    const std::vector<std::string> lines = SplitLines(Content());
    ASSERT_EQ(lines.size(), 3u + kStores);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "00 points - N"), 9);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), ""), 0);
    EXPECT_TRUE(std::is_sorted(lines.rbegin(), lines.rend(), RanksBelow));
    EXPECT_TRUE(Leftovers(dir.Path()).empty());
}

// Makes one kind of system call fail, as a full disk or a failing drive would.
class FailingIo : public HighScoreIo {
  public:
    enum class Fault { WriteAtOnce, WriteAfterSome, Sync, Rename };
    FailingIo(Fault fault, int* calls) : fault(fault), calls(calls) {}

    ssize_t Write(int fd, const char* data, std::size_t size) override {
        if (fault == Fault::WriteAtOnce || (fault == Fault::WriteAfterSome && written > 0)) {
            ++*calls;
            errno = ENOSPC;
            return -1;
        }
        // Part of the data goes out before the disk is full.
        const ssize_t wrote = HighScoreIo::Write(fd, data, size / 2 + 1);
        written += wrote;
        return wrote;
    }
    int Sync(int fd) override {
        if (fault == Fault::Sync) {
            ++*calls;
            errno = EIO;
            return -1;
        }
        return HighScoreIo::Sync(fd);
    }
    int Rename(const char* from, const char* to) override {
        if (fault == Fault::Rename) {
            ++*calls;
            errno = EXDEV;
            return -1;
        }
        return HighScoreIo::Rename(from, to);
    }

  private:
    Fault fault;
    int* calls;
    ssize_t written = 0;
};

TEST_F(HighScoreFileTest, AFailedWriteLeavesTheOldFileWholeAndIsToldOnce) {
    std::string old;
    for (int i = 0; i < 500; ++i) {
        old += std::to_string(1000 + i) + " points - Old\n";
    }
    WriteWholeFile(File(), old);
    ConfirmName(engine, "New");
    using Fault = FailingIo::Fault;
    const struct {
        Fault fault;
        const char* notice;
        const char* reason;
    } cases[] = {
        {Fault::WriteAtOnce, "Score not saved: the disk is full", "No space left on device"},
        {Fault::WriteAfterSome, "Score not saved: the disk is full", "No space left on device"},
        {Fault::Sync, "Score not saved: the disk failed", "Input/output error"},
        {Fault::Rename, "Score not saved: the file could not be written", "cross-device"},
    };
    for (const auto& c : cases) {
        int faults = 0;
        auto* screen = new StateAddScore(engine.GetAssets());
        screen->SetScore(12);
        screen->SetFileIo(std::make_unique<FailingIo>(c.fault, &faults));
        engine.SetState(screen);
        PushKey(SDLK_RETURN, '\r');
        testing::internal::CaptureStderr();
        engine.RunFrame();
        const std::string said = testing::internal::GetCapturedStderr();

        ASSERT_EQ(faults, 1) << c.notice << ": the fault never struck";
        EXPECT_EQ(Content(), old);
        EXPECT_TRUE(Leftovers(dir.Path()).empty());
        auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->GetEntries().front(), "1000 points - Old");
        EXPECT_EQ(list->GetNotice(), c.notice);
        const std::vector<std::string> told = NotSavedLines(said);
        ASSERT_EQ(told.size(), 1u) << said;
        EXPECT_EQ(told[0].rfind("arcade-game: score not saved to " + File() + ": ", 0), 0u);
        EXPECT_NE(told[0].find(c.reason), std::string::npos) << told[0];
    }
    // Nothing was held back: the next store goes through, and says nothing.
    testing::internal::CaptureStderr();
    StoreScore(engine, 12);
    EXPECT_TRUE(NotSavedLines(testing::internal::GetCapturedStderr()).empty());
    EXPECT_EQ(SplitLines(Content()).size(), 501u);
    EXPECT_EQ(dynamic_cast<StateShowScore*>(engine.GetState())->GetNotice(), "");
}
}  // namespace
