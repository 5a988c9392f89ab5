// Faults while storing a score: whatever goes wrong, no entry already in the file is lost.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "engine/GameEngine.h"
#include "scores/HighScoreFile.h"
#include "scores/HighScoreIo.h"
#include "scores/TrustedFile.h"
#include "screens/StateShowScore.h"
#include "support/Frames.h"
#include "support/HighScores.h"
#include "support/Processes.h"
#include "support/Scratch.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kTool = ARCADE_STORE_SCORE_TOOL;
constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

std::string EntryText(int score, const std::string& name) {
    return (score < 10 ? "0" : "") + std::to_string(score) + " points - " + name;
}

// What a folder holds besides the pictures and the font.
std::vector<std::string> FilesOtherThanTheGames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const fs::path name = entry.path().filename();
        if (name.extension() != ".png" && name != "arial.ttf") {
            names.push_back(name.string());
        }
    }
    return names;
}

struct stat StatOf(const std::string& path) {
    struct stat facts {};
    lstat(path.c_str(), &facts);
    return facts;
}

// A folder that the user nobody can reach, with a copy of the tool that nobody may run.
class NobodysFolder {
  public:
    NobodysFolder() : game(dir.File("game")), tool(dir.File("store-score")) {
        fs::permissions(dir.Path(), fs::perms(0755));
        fs::copy_file(kTool, tool);
        fs::permissions(tool, fs::perms(0755));
        fs::create_directory(game);
    }
    bool NobodyMay(const std::string& shellTest) const {
        return RunProgram(game, AsNobody({"/bin/sh", "-c", shellTest})) == 0;
    }
    int StoreAsNobody(const std::string& name, int score) const {
        return RunProgram(game, AsNobody({tool, name, std::to_string(score), "1"}));
    }
    // Stores as nobody and keeps what the game said: the list's notice and standard error.
    int StoreAsNobodyTold(const std::string& name, int score, std::string& notice,
                          std::string& said) const {
        const std::string out = dir.File("out");
        fs::create_directory(out);
        fs::permissions(out, fs::perms(0777));
        const int status = RunProgram(
            game, AsNobody({"/bin/sh", "-c", "\"$0\" \"$1\" \"$2\" 1 >\"$3/notice\" 2>\"$3/said\"",
                            tool, name, std::to_string(score), out}));
        notice = ReadWholeFile(out + "/notice");
        said = ReadWholeFile(out + "/said");
        return status;
    }
    std::string File() const { return game + "/highscore.txt"; }

    ScratchDir dir;
    std::string game;
    std::string tool;
};

TEST(HighScoreFaults, AFileNobodyMayReadIsNeverRewritten) {
    if (getuid() != 0 || AsNobody({"true"}).empty()) {
        GTEST_SKIP() << "needs root and setpriv to play another user";
    }
    NobodysFolder folder;
    fs::permissions(folder.game, fs::perms(0777));
    WriteWholeFile(folder.File(), "50 points - Old\n");
    ASSERT_EQ(chown(folder.File().c_str(), kNobody, kNogroup), 0);

    // As nobody, with a file of its own, storing works and the file keeps owner and bits.
    fs::permissions(folder.File(), fs::perms(0640));
    ASSERT_EQ(folder.StoreAsNobody("Ann", 7), 0);
    EXPECT_EQ(ReadWholeFile(folder.File()), "50 points - Old\n07 points - Ann\n");
    EXPECT_EQ(StatOf(folder.File()).st_mode & 07777, 0640u);
    EXPECT_EQ(StatOf(folder.File()).st_uid, kNobody);
    const std::string stored = ReadWholeFile(folder.File());

    // Writable but not readable: rewriting from what could be read would empty the list.
    fs::permissions(folder.File(), fs::perms(0200));
    ASSERT_FALSE(folder.NobodyMay("test -r highscore.txt"));
    ASSERT_TRUE(folder.NobodyMay("test -w highscore.txt"));
    EXPECT_EQ(folder.StoreAsNobody("Bo", 8), 0) << "the list must open all the same";
    EXPECT_EQ(ReadWholeFile(folder.File()), stored);
    EXPECT_EQ(StatOf(folder.File()).st_mode & 07777, 0200u);

    // Readable but made read-only by its owner: left as it is, as writing in place would.
    fs::permissions(folder.File(), fs::perms(0444));
    ASSERT_TRUE(folder.NobodyMay("test -r highscore.txt"));
    ASSERT_FALSE(folder.NobodyMay("test -w highscore.txt"));
    EXPECT_EQ(folder.StoreAsNobody("Cy", 9), 0);
    EXPECT_EQ(ReadWholeFile(folder.File()), stored);
    EXPECT_TRUE(Leftovers(folder.game).empty());
}

TEST(HighScoreFaults, AReadOnlyFolderKeepsItsFileAsItWas) {
    if (getuid() != 0 || AsNobody({"true"}).empty()) {
        GTEST_SKIP() << "needs root and setpriv to play another user";
    }
    NobodysFolder folder;
    WriteWholeFile(folder.File(), "50 points - Old\n40 points - Old\n");
    fs::permissions(folder.File(), fs::perms(0666));
    fs::permissions(folder.game, fs::perms(0555));
    ASSERT_FALSE(folder.NobodyMay("touch probe")) << "nobody could write into the folder";
    ASSERT_TRUE(folder.NobodyMay("test -r highscore.txt -a -w highscore.txt"));

    std::string notice;
    std::string said;
    EXPECT_EQ(folder.StoreAsNobodyTold("Ann", 7, notice, said), 0);
    EXPECT_EQ(ReadWholeFile(folder.File()), "50 points - Old\n40 points - Old\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.game), fs::directory_iterator()), 1);
    EXPECT_EQ(notice, "Score not saved: the folder is read-only\n");
    EXPECT_EQ(
        NotSavedLines(said),
        std::vector<std::string>{"arcade-game: score not saved to " + folder.File() +
                                 ": cannot create the new file beside it: Permission denied"});

    // Without a file, nothing appears either.
    fs::remove(folder.File());
    EXPECT_EQ(folder.StoreAsNobody("Ann", 7), 0);
    EXPECT_TRUE(fs::is_empty(folder.game));
}

// Mounts a tiny filesystem for the length of a test.
class SmallDisk {
  public:
    SmallDisk(const std::string& path, const char* size) : path(path) {
        fs::create_directory(path);
        const std::string options = std::string("size=") + size;
        mounted = mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted) {
            umount2(path.c_str(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    unsigned long long FreeBytes() const {
        struct statvfs facts {};
        statvfs(path.c_str(), &facts);
        return static_cast<unsigned long long>(facts.f_bavail) * facts.f_frsize;
    }

    std::string path;
    bool mounted = false;
};

// Runs the game's storing with the working directory in another folder.
class InFolder {
  public:
    explicit InFolder(const std::string& path) : previous(fs::current_path()) {
        fs::current_path(path);
    }
    ~InFolder() { fs::current_path(previous); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

  private:
    fs::path previous;
};

TEST(HighScoreFaults, AFullDiskKeepsTheOldFile) {
    ScratchDir dir;
    SmallDisk disk(dir.File("disk"), "64k");
    if (!disk.mounted) {
        GTEST_SKIP() << "cannot mount a small filesystem here; the write-fault seam still runs";
    }
    GameEngine engine;
    UseFakeClock(engine);
    ConfirmName(engine, "Ann");
    const std::string file = disk.path + "/highscore.txt";

    std::vector<std::string> old;
    for (int i = 0; i < 2000; ++i) {
        old.push_back(EntryText(1000 + i, "Old"));
    }
    WriteWholeFile(file, FileOf(old));
    ASSERT_EQ(ReadWholeFile(file), FileOf(old)) << "the old file must fit at first";
    ASSERT_LT(disk.FreeBytes(), FileOf(old).size()) << "a second copy would still fit";
    {
        InFolder there(disk.path);
        StoreScore(engine, 7);
    }
    EXPECT_EQ(ReadWholeFile(file), FileOf(old));
    EXPECT_TRUE(Leftovers(disk.path).empty());
    EXPECT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);

    // With room on the disk, the same store goes through.
    old.resize(100);
    WriteWholeFile(file, FileOf(old));
    {
        InFolder there(disk.path);
        StoreScore(engine, 7);
    }
    old.push_back(EntryText(7, "Ann"));
    EXPECT_EQ(ReadWholeFile(file), FileOf(old));
}

// Waits until a temporary file that was not there before shows up in folder.
bool AwaitNewLeftover(const std::string& folder, const std::vector<std::string>& before) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const auto& name : Leftovers(folder)) {
            if (std::find(before.begin(), before.end(), name) == before.end()) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return false;
}

TEST(HighScoreFaults, AGameKilledWhileStoringLeavesTheOldOrTheNewFileWhole) {
    ScratchDir dir;
    const std::string file = dir.File("highscore.txt");
    std::vector<std::string> entries;
    for (int i = 0; i < 2000; ++i) {
        entries.push_back(EntryText(i, "Base"));
    }
    WriteWholeFile(file, FileOf(entries));

    // Kill while a new file is being written (three times), then at fixed moments.
    const int killAfterMs[] = {-1, -1, -1, 0, 10, 40, 120, 300};
    int runs = 0;
    int killedWhileWriting = 0;
    for (int delay : killAfterMs) {
        const std::string name = "Kill" + std::to_string(runs++);
        const std::vector<std::string> before = Leftovers(dir.Path());
        // 40 stores, every write of the new file slowed to 5 ms.
        const pid_t tool = StartProgram(dir.Path(), {kTool, name, "0", "40", "5"});
        if (delay < 0) {
            ASSERT_TRUE(AwaitNewLeftover(dir.Path(), before));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        }
        kill(tool, SIGKILL);
        EXPECT_EQ(WaitForExit(tool), 128 + SIGKILL) << "run " << name << " ended by itself";

        // A temporary file of this run still there: the kill struck while it wrote.
        for (const auto& leftover : Leftovers(dir.Path())) {
            if (std::find(before.begin(), before.end(), leftover) == before.end()) {
                ++killedWhileWriting;
                break;
            }
        }
        const std::string content = ReadWholeFile(file);
        const std::size_t stored = SplitLines(content).size() - entries.size();
        for (std::size_t score = 0; score < stored; ++score) {
            entries.push_back(EntryText(static_cast<int>(score), name));
        }
        ASSERT_EQ(content, FileOf(entries)) << "run " << name << " after " << stored << " stores";
    }
    EXPECT_GE(killedWhileWriting, 3);

    // The next game clears what the killed ones left and loses nothing.
    ASSERT_EQ(RunProgram(dir.Path(), {kTool, "After", "3", "1"}), 0);
    entries.push_back(EntryText(3, "After"));
    EXPECT_EQ(ReadWholeFile(file), FileOf(entries));
    EXPECT_TRUE(Leftovers(dir.Path()).empty());
    std::cout << "kills while writing: " << killedWhileWriting << " of " << runs << ", "
              << entries.size() << " lines kept\n";
}

// Runs two games that store kEach scores each into folder at the same moment, and checks that
// the file ends up with every one of them.
void ExpectTwoGamesKeepEverything(const std::string& folder, const std::vector<std::string>& prefix,
                                  const std::string& tool, int each) {
    std::vector<std::string> first = prefix;
    first.insert(first.end(), {tool, "A", "0", std::to_string(each)});
    std::vector<std::string> second = prefix;
    second.insert(second.end(), {tool, "B", "0", std::to_string(each)});
    const pid_t a = StartProgram(folder, first);
    const pid_t b = StartProgram(folder, second);
    EXPECT_EQ(WaitForExit(a), 0);
    EXPECT_EQ(WaitForExit(b), 0);

    std::vector<std::string> entries;
    for (int score = 0; score < each; ++score) {
        entries.push_back(EntryText(score, "A"));
        entries.push_back(EntryText(score, "B"));
    }
    const std::string content = ReadWholeFile(folder + "/highscore.txt");
    EXPECT_EQ(SplitLines(content).size(), 2u * each);
    EXPECT_TRUE(content == FileOf(entries)) << "entries lost or out of order";
}

TEST(HighScoreFaults, TwoGamesStoringAtOnceBothKeepEveryEntry) {
    // A folder without the font, so that building the list is quick and the two games spend
    // most of their time storing.
    ScratchDir dir;
    const std::string game = dir.File("game");
    fs::create_directory(game);
    ExpectTwoGamesKeepEverything(game, {}, kTool, 200);
    EXPECT_EQ(FilesOtherThanTheGames(game), std::vector<std::string>{"highscore.txt"});
}

TEST(HighScoreFaults, TwoGamesInAFolderTheyMayNotListBothKeepEveryEntry) {
    if (getuid() != 0 || AsNobody({"true"}).empty()) {
        GTEST_SKIP() << "needs root and setpriv to play another user";
    }
    NobodysFolder folder;
    WriteWholeFile(folder.File(), "");
    ASSERT_EQ(chown(folder.File().c_str(), kNobody, kNogroup), 0);
    // Without leave to list the folder a game cannot lock it, and locks the file instead.
    fs::permissions(folder.game, fs::perms(0333));
    ASSERT_FALSE(folder.NobodyMay("ls ."));
    ExpectTwoGamesKeepEverything(folder.game, AsNobody({}), folder.tool, 100);
}

TEST(HighScoreFaults, NamesThatAreNoRegularFileAreNeitherReadNorReplaced) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    ConfirmName(engine, "Ann");
    const std::string file = dir.File("highscore.txt");

    // A folder under the name, with something in it.
    fs::create_directory(file);
    WriteWholeFile(file + "/inside", "x\n");
    StoreScore(engine, 7);
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(ReadWholeFile(file + "/inside"), "x\n");
    fs::remove_all(file);

    // A pipe: opening it for reading would wait for a writer that never comes.
    ASSERT_EQ(mkfifo(file.c_str(), 0644), 0);
    StoreScore(engine, 7);
    EXPECT_TRUE(S_ISFIFO(StatOf(file).st_mode));
    fs::remove(file);

    // Devices behind a link: one that is always full, one that never ends.
    for (const char* device : {"/dev/full", "/dev/zero"}) {
        if (!fs::exists(device)) {
            continue;
        }
        fs::create_symlink(device, file);
        StoreScore(engine, 7);
        EXPECT_EQ(fs::read_symlink(file), device);
        auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
        ASSERT_NE(list, nullptr) << device;
        EXPECT_TRUE(list->GetEntries().empty()) << device;
        fs::remove(file);
    }
    EXPECT_TRUE(Leftovers(dir.Path()).empty());
}

TEST(HighScoreFaults, FilesNotWrittenByTheGameKeepEveryByte) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    ConfirmName(engine, "Ann");
    const std::string file = dir.File("highscore.txt");

    // Lines of any length and any bytes are entries like any other.
    std::string binary;
    for (int byte = 1; byte < 256; ++byte) {
        binary += byte == '\n' ? '\0' : static_cast<char>(byte);
    }
    const std::vector<std::string> odd = {std::string(1000 * 1000, 'w'), binary, "\xff\xfe"};
    WriteWholeFile(file, odd[0] + "\n" + odd[1] + "\n" + odd[2]);
    StoreScore(engine, 7);
    std::vector<std::string> entries = odd;
    entries.push_back(EntryText(7, "Ann"));
    EXPECT_EQ(ReadWholeFile(file), FileOf(entries));

    // Bigger than any list the game keeps, in bytes or in lines: not the game's file, left as
    // it is, and the list still opens.
    for (const bool byLines : {false, true}) {
        if (byLines) {
            WriteWholeFile(file, std::string(HighScoreFile::kMostEntries + 1, '\n'));
        } else {
            WriteWholeFile(file, "");
            fs::resize_file(file, HighScoreFile::kLargestFile + 1);
        }
        const struct stat before = StatOf(file);
        testing::internal::CaptureStderr();
        StoreScore(engine, 7);
        const std::string said = testing::internal::GetCapturedStderr();
        const struct stat after = StatOf(file);
        EXPECT_EQ(after.st_ino, before.st_ino) << "replaced";
        EXPECT_EQ(after.st_size, before.st_size);
        auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->GetNotice(), "Score not saved: the file is too large");
        EXPECT_NE(said.find(file + ": more than"), std::string::npos) << said;
    }
}

TEST(HighScoreFaults, AFileTheGameGrewItselfNeverLocksThePlayerOut) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    ConfirmName(engine, "Ann");
    const std::string file = dir.File("highscore.txt");
    // One line more than an earlier limit that refused every later score: the longest lines the
    // game writes, in its own order.
    constexpr int kLines = 1000 * 1000 + 1;
    std::string content;
    content.reserve(kLines * HighScoreFile::kLongestGameLine);
    const std::string name(17, 'z');
    for (int i = 0; i < kLines; ++i) {
        content += "223 points - " + name + "\n";
    }
    WriteWholeFile(file, content);
    for (int store = 1; store <= 2; ++store) {
        StoreScore(engine, 7);
        const auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->GetNotice(), "");
        content += "07 points - Ann\n";
        ASSERT_EQ(ReadWholeFile(file), content) << "store " << store;
    }
}

// Stores "0" into file under a line limit of kMost, standing in for the real ten million.
constexpr std::size_t kMost = 4;
bool StoreUnderSmallLimit(const std::string& file, std::unique_ptr<HighScoreIo> io,
                          StoreFailure& failure) {
    HighScoreFile store(std::move(io), kMost);
    std::vector<std::string> entries;
    store.ReadForUpdate(file, entries);
    entries.push_back("0");
    const bool stored = store.ReplaceLastFirst(file, entries);
    failure = store.Failure();
    return stored;
}

TEST(HighScoreFaults, ExactlyTheMostLinesAreStoredAndOneMoreIsNot) {
    ScratchDir dir;
    const std::string file = dir.File("highscore.txt");
    // A last line without its line feed counts like any other.
    for (const char* content : {"4\n3\n2\n1\n", "4\n3\n2\n1", "5\n4\n3\n2\n1\n", "5\n4\n3\n2\n1"}) {
        WriteWholeFile(file, content);
        StoreFailure failure;
        const bool stored = StoreUnderSmallLimit(file, std::make_unique<HighScoreIo>(), failure);
        if (content[0] == '4') {
            EXPECT_TRUE(stored) << content;
            EXPECT_EQ(ReadWholeFile(file), "0\n1\n2\n3\n4\n");
        } else {
            EXPECT_FALSE(stored) << content;
            EXPECT_EQ(ReadWholeFile(file), content);
            EXPECT_EQ(failure.Notice(), "Score not saved: the file is too large");
        }
    }
}

// Counting the lines reads to the end; going back to the start fails, as on a dying drive.
class RewindFails : public HighScoreIo {
  public:
    explicit RewindFails(int* calls) : calls(calls) {}
    off_t Seek(int, off_t, int) override {
        ++*calls;
        errno = EIO;
        return -1;
    }

  private:
    int* calls;
};

TEST(HighScoreFaults, AFileThatCannotBeRewoundAfterCountingIsNotReplaced) {
    ScratchDir dir;
    const std::string file = dir.File("highscore.txt");
    WriteWholeFile(file, "3\n2\n1\n");
    int rewinds = 0;
    StoreFailure failure;
    EXPECT_FALSE(StoreUnderSmallLimit(file, std::make_unique<RewindFails>(&rewinds), failure));
    ASSERT_EQ(rewinds, 1) << "the rewind never failed";
    EXPECT_EQ(ReadWholeFile(file), "3\n2\n1\n");
    EXPECT_EQ(failure.Notice(), "Score not saved: the disk failed");
}

TEST(HighScoreFaults, AChainOfEightLinksIsFollowedAndNineAreNot) {
    ScratchDir dir;
    WriteWholeFile(dir.File("kept.txt"), "50 points - Old\n");
    std::string next = "kept.txt";
    for (int links = 1; links <= 9; ++links) {
        const std::string name = "link" + std::to_string(links);
        fs::create_symlink(next, dir.File(name));
        next = name;
        std::string target;
        StoreFailure failure;
        const bool followed = TrustedFile(dir.File(name), target, failure);
        EXPECT_EQ(followed, links <= 8) << links << " links";
        if (followed) {
            EXPECT_EQ(target, fs::canonical(dir.File("kept.txt")).string());
        } else {
            EXPECT_NE(failure.LogLine().find("more than 8 symbolic links"), std::string::npos)
                << failure.LogLine();
        }
    }
}

TEST(HighScoreFaults, ALinkIsFollowedOnlyWhenItAndItsFileAreThePlayersOwn) {
    // The player's own link to the player's own file: updated where it lies.
    {
        ScratchDir dir;
        GameEngine engine;
        UseFakeClock(engine);
        ConfirmName(engine, "Ann");
        fs::create_directory(dir.File("kept"));
        WriteWholeFile(dir.File("kept/scores.txt"), "50 points - Old\n");
        fs::create_symlink("kept/scores.txt", dir.File("highscore.txt"));
        StoreScore(engine, 7);
        EXPECT_EQ(ReadWholeFile(dir.File("kept/scores.txt")), "50 points - Old\n07 points - Ann\n");
        EXPECT_TRUE(fs::is_symlink(dir.File("highscore.txt")));
        EXPECT_TRUE(Leftovers(dir.File("kept")).empty());
    }
    if (getuid() != 0 || AsNobody({"true"}).empty()) {
        GTEST_SKIP() << "needs root and setpriv to play another user";
    }
    const std::string profile = "alias ll='ls -l'\nexport PATH=/usr/bin:/bin\n";

    // Root playing in a shared folder where nobody planted a link to one of root's files, and
    // where root's own link leads to a file of nobody's: neither is touched, and both are told.
    for (const bool linkIsNobodys : {true, false}) {
        NobodysFolder folder;
        fs::permissions(folder.game, fs::perms(01777));
        const std::string victim = folder.dir.File("profile");
        WriteWholeFile(victim, profile);
        fs::create_symlink(victim, folder.File());
        const uid_t linkOwner = linkIsNobodys ? kNobody : 0;
        const uid_t fileOwner = linkIsNobodys ? 0 : kNobody;
        ASSERT_EQ(lchown(folder.File().c_str(), linkOwner, kNogroup), 0);
        ASSERT_EQ(chown(victim.c_str(), fileOwner, kNogroup), 0);
        ASSERT_EQ(StatOf(folder.File()).st_uid, linkOwner) << "the link was not handed over";
        ASSERT_EQ(StatOf(victim).st_uid, fileOwner);

        GameEngine engine;
        UseFakeClock(engine);
        ConfirmName(engine, "Ann");
        testing::internal::CaptureStderr();
        {
            InFolder there(folder.game);
            StoreScore(engine, 7);
        }
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(ReadWholeFile(victim), profile);
        EXPECT_TRUE(fs::is_symlink(folder.File()));
        EXPECT_TRUE(Leftovers(folder.game).empty());
        auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->GetNotice(), "Score not saved: the file is a link not to follow");
        EXPECT_TRUE(list->GetEntries().empty()) << "the list shows what it would not store into";
        EXPECT_NE(said.find(folder.File() + ": symbolic link"), std::string::npos) << said;
        EXPECT_NE(said.find("belongs to user " + std::to_string(kNobody)), std::string::npos)
            << said;
    }

    // Nobody playing: its own link to its own file is followed; root's link to it is not.
    for (const bool linkIsNobodys : {true, false}) {
        NobodysFolder folder;
        fs::permissions(folder.game, fs::perms(0777));
        const std::string kept = folder.game + "/kept.txt";
        WriteWholeFile(kept, "50 points - Old\n");
        ASSERT_EQ(chown(kept.c_str(), kNobody, kNogroup), 0);
        fs::create_symlink("kept.txt", folder.File());
        if (linkIsNobodys) {
            ASSERT_EQ(lchown(folder.File().c_str(), kNobody, kNogroup), 0);
        }
        ASSERT_EQ(StatOf(folder.File()).st_uid, linkIsNobodys ? kNobody : 0u);
        ASSERT_TRUE(folder.NobodyMay("test -w kept.txt"));

        std::string notice;
        std::string said;
        EXPECT_EQ(folder.StoreAsNobodyTold("Bo", 8, notice, said), 0);
        if (linkIsNobodys) {
            EXPECT_EQ(ReadWholeFile(kept), "50 points - Old\n08 points - Bo\n");
            EXPECT_EQ(notice, "");
            EXPECT_TRUE(NotSavedLines(said).empty()) << said;
        } else {
            EXPECT_EQ(ReadWholeFile(kept), "50 points - Old\n");
            EXPECT_EQ(notice, "Score not saved: the file is a link not to follow\n");
            EXPECT_NE(said.find("belongs to user 0, not to user " + std::to_string(kNobody)),
                      std::string::npos)
                << said;
        }
        EXPECT_TRUE(fs::is_symlink(folder.File()));
    }
}
}  // namespace
