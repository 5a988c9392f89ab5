#include "engine/Settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "support/Scratch.h"
#include "support/WatchedCalls.h"

namespace {
using namespace std::string_literals;

TEST(SettingsFile, WhatIsWrittenIsReadBackAndMadeWithItsFolders) {
    ScratchDir dir;
    SettingsFile file(dir.File("config/arcade-game/settings"));
    EXPECT_EQ(file.Read(), Settings{}) << "a missing file means the defaults";

    const Settings chosen{3, true, false};
    file.Write(chosen);
    EXPECT_EQ(file.Read(), chosen);
    const std::string text = ReadWholeFile(file.Path());
    EXPECT_NE(text.find("scale = 3\nfullscreen = yes\nsound = off\n"), std::string::npos) << text;
    file.Write(Settings{display::kAutoScale, false, true});
    EXPECT_EQ(file.Read().scale, display::kAutoScale);

    // A person's own edit: spaces, comments, a line left out.
    WriteWholeFile(file.Path(), "# mine\r\n  scale=5  \r\n\nsound =off\n");
    EXPECT_EQ(file.Read(), (Settings{5, false, false}));

    // A shared table is named by the player alone, and kept through the game's own rewrites; an
    // address of another kind is named and skipped.
    WriteWholeFile(file.Path(), "Scores_Server = https://scores.example.org/arcade\nscale = 2\n");
    EXPECT_EQ(file.Read().scoresServer, "https://scores.example.org/arcade");
    file.Write(Settings{4, false, true});
    EXPECT_EQ(file.Read().scoresServer, "https://scores.example.org/arcade");
    WriteWholeFile(file.Path(), "scores_server = ftp://scores.example.org\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(file.Read().scoresServer, "");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("line 1 skipped (scores_server takes the http:// or https:// address"),
              std::string::npos)
        << said;
}

TEST(SettingsFile, APlayersOwnFileCountsLineByLineAndKeepsItsLinesThroughARewrite) {
    ScratchDir dir;
    const std::string path = dir.File("settings");
    SettingsFile file(path);
    // An editor's byte-order mark, the player's case, a misspelt and an unknown name, a value out
    // of range, garbage, comments and line endings of another system.
    const std::string mine =
        "\xEF\xBB\xBF# my settings\r\n"
        "Scale = 3\r\n"
        "volume = 5\n"
        "\n"
        "  # sound next\n"
        "SOUND = Off\n"
        "fulscreen = yes\n"
        "scale = 9\n"
        "\x1b[31mgarbage\n"
        "fullscreen = no\0"
        "pe\n"
        "fullscreen = yes"s;
    WriteWholeFile(path, mine);
    testing::internal::CaptureStderr();
    EXPECT_EQ(file.Read(), (Settings{3, true, false}));
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string start = "arcade-game: " + path + ": line ";
    EXPECT_EQ(said, start + "3 skipped (no setting of that name): volume = 5\n" + start +
                        "7 skipped (no setting of that name): fulscreen = yes\n" + start +
                        "8 skipped (scale takes 1 to 8, or auto (as large as fits the desktop)):"
                        " scale = 9\n" +
                        start + "9 skipped (not a 'name = value' line): ?[31mgarbage\n" + start +
                        "10 skipped (fullscreen takes yes or no): fullscreen = no?pe\n");

    // The game changes what it owns where it stands, and nothing else; nothing is named again.
    testing::internal::CaptureStderr();
    file.Write(Settings{display::kAutoScale, false, true});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(ReadWholeFile(path),
              "\xEF\xBB\xBF# my settings\r\n"
              "scale = auto\r\n"
              "volume = 5\n"
              "\n"
              "  # sound next\n"
              "sound = on\n"
              "fulscreen = yes\n"
              "scale = auto\n"
              "\x1b[31mgarbage\n"
              "fullscreen = no\n"
              "fullscreen = no\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(file.Read(), (Settings{display::kAutoScale, false, true}));
    testing::internal::GetCapturedStderr();

    // A setting missing from the file is added at its end.
    WriteWholeFile(path, "# only a comment\nsound = off\n");
    file.Write(Settings{2, false, false});
    EXPECT_EQ(ReadWholeFile(path), "# only a comment\nsound = off\nscale = 2\nfullscreen = no\n");

    // Many lines of garbage are named by the first few and a count.
    for (const auto& [lines, more] :
         {std::pair{8, ": 3 more lines skipped\n"}, std::pair{6, ": 1 more line skipped\n"}}) {
        std::string garbage;
        for (int line = 0; line < lines; ++line) {
            garbage += "x\n";
        }
        WriteWholeFile(path, garbage);
        testing::internal::CaptureStderr();
        EXPECT_EQ(file.Read(), Settings{});
        const std::string many = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(many.begin(), many.end(), '\n'), 6) << many;
        EXPECT_NE(many.find(more), std::string::npos) << many;
    }
}

TEST(SettingsFile, WhatIsNoRegularFileOrTooLongGivesTheDefaultsAndOneLineAndIsLeftAlone) {
    ScratchDir dir;
    // 4,096 bytes, the most a settings file may hold, are read as any other file.
    const std::string setting = "scale = 2\n";
    WriteWholeFile(dir.File("longest"), setting + std::string(4096 - setting.size(), '#'));
    testing::internal::CaptureStderr();
    EXPECT_EQ(SettingsFile(dir.File("longest")).Read().scale, 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    ASSERT_EQ(mkdir(dir.File("folder").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0644), 0);
    WriteWholeFile(dir.File("long"), setting + std::string(4097 - setting.size(), '#'));
    for (const char* name : {"folder", "pipe", "long"}) {
        const std::string path = dir.File(name);
        SettingsFile file(path);
        testing::internal::CaptureStderr();
        EXPECT_EQ(file.Read(), Settings{}) << name;
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("arcade-game: " + path + ": ", 0), 0u) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        EXPECT_NE(said.find("default settings"), std::string::npos) << said;

        // Replacing it would throw away what could not be read.
        testing::internal::CaptureStderr();
        file.Write(Settings{2, true, false});
        file.Write(Settings{3, true, false});
        said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("arcade-game: cannot keep the settings in " + path + ": ", 0), 0u)
            << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        struct stat facts {};
        ASSERT_EQ(lstat(path.c_str(), &facts), 0);
        EXPECT_FALSE(S_ISREG(facts.st_mode) && facts.st_size != 4097) << name;
    }
}

TEST(SettingsFile, AWriteThatCannotHappenIsToldOnce) {
    ScratchDir dir;
    // A file where its folder should be: no privileges can make that folder.
    WriteWholeFile(dir.File("blocked"), "a file\n");
    SettingsFile file(dir.File("blocked/settings"));
    testing::internal::CaptureStderr();
    file.Write(Settings{2, false, true});
    file.Write(Settings{3, false, true});
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "arcade-game: cannot keep the settings in " + dir.File("blocked/settings") +
                        ": Not a directory\n");
    EXPECT_EQ(ReadWholeFile(dir.File("blocked")), "a file\n");
}

// A change is on the disk before it takes the old file's place, and the folder after it, so that
// a crash never leaves an empty or half file where the player's settings were.
TEST(SettingsFile, AChangeIsOnTheDiskBeforeItTakesTheOldFilesPlace) {
    ScratchDir dir(false);
    const std::string path = dir.File("settings");
    auto calls = std::make_unique<WatchedCalls>();
    WatchedCalls& watched = *calls;
    SettingsFile file(path, std::move(calls));
    file.Write(Settings{2, false, true});
    EXPECT_EQ(watched.log, (std::vector<std::string>{"create", "write", "sync", "close", "rename",
                                                     "sync folder"}));
    EXPECT_EQ(watched.renamedTo, path);
    const std::string kept = ReadWholeFile(path);
    EXPECT_NE(kept.find("scale = 2\n"), std::string::npos) << kept;

    watched.failing = "sync";
    testing::internal::CaptureStderr();
    file.Write(Settings{3, false, true});
    file.Write(Settings{4, false, true});
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "arcade-game: cannot keep the settings in " + path + ": Input/output error\n");
    EXPECT_EQ(ReadWholeFile(path), kept);
}

}  // namespace
