#include "engine/Settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/Scratch.h"

namespace {

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
}

TEST(SettingsFile, AGarbledFileGivesTheDefaultsAndOneLineAndStaysAsItIs) {
    ScratchDir dir;
    const std::string path = dir.File("settings");
    SettingsFile file(path);
    for (const std::string& garbled :
         {std::string("scale = 9\n"), std::string("scale = 2\nvolume = 11\n"),
          std::string("fullscreen\n"), std::string("sound = on\0off\n", 16),
          std::string(5000, '#')}) {
        WriteWholeFile(path, garbled);
        testing::internal::CaptureStderr();
        EXPECT_EQ(file.Read(), Settings{});
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("arcade-game: " + path + ": ", 0), 0u) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        EXPECT_EQ(ReadWholeFile(path), garbled);
    }

    // Unreadable as a file at all: a folder in its place.
    ASSERT_EQ(mkdir(dir.File("folder").c_str(), 0755), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(SettingsFile(dir.File("folder")).Read(), Settings{});
    EXPECT_NE(testing::internal::GetCapturedStderr().find("default settings"), std::string::npos);
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

}  // namespace
