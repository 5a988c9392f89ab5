#include "engine/Options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

bool Parse(std::initializer_list<const char*> words, Options& options, std::string& error) {
    std::vector<const char*> argv{"arcade-game"};
    argv.insert(argv.end(), words);
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(Options, ScaleTakesOneToEightOrAutoInEitherSpelling) {
    Options options;
    std::string error;
    ASSERT_TRUE(Parse({"--scale", "8", "--settings=/tmp/s"}, options, error)) << error;
    EXPECT_EQ(options.scale, 8);
    EXPECT_EQ(options.settingsPath, "/tmp/s");
    ASSERT_TRUE(Parse({"--scale=auto"}, options, error)) << error;
    EXPECT_EQ(options.scale, 0);

    for (const char* bad : {"0", "9", "08", "+2", "", "two"}) {
        Options refused;
        EXPECT_FALSE(Parse({"--scale", bad}, refused, error)) << bad;
        EXPECT_NE(error.find("--scale"), std::string::npos) << error;
    }
}

TEST(Options, AMissingValueOrAnUnknownWordIsRefusedSayingWhatIsWanted) {
    Options options;
    std::string error;
    EXPECT_FALSE(Parse({"--scale"}, options, error));
    EXPECT_EQ(error, "--scale needs 1 to 8 or auto");
    EXPECT_FALSE(Parse({"--settings"}, options, error));
    EXPECT_EQ(error, "--settings needs a file");
    EXPECT_FALSE(Parse({"--settings="}, options, error));
    EXPECT_EQ(error, "--settings needs a file");
    EXPECT_FALSE(Parse({"--data-dir"}, options, error));
    EXPECT_EQ(error, "--data-dir needs a folder");
    EXPECT_FALSE(Parse({"--scale", "two"}, options, error));
    EXPECT_EQ(error, "--scale takes 1 to 8 or auto, not 'two'");
    EXPECT_FALSE(Parse({"--fly"}, options, error));
    EXPECT_EQ(error, "unknown option '--fly'");
    Options bare;
    EXPECT_TRUE(Parse({}, bare, error));
    EXPECT_FALSE(bare.scale.has_value());
    EXPECT_TRUE(bare.settingsPath.empty());
    EXPECT_TRUE(bare.dataDir.empty());
    EXPECT_FALSE(bare.version);

    Options asked;
    ASSERT_TRUE(Parse({"--data-dir=/usr/share/games/arcade-game", "--version"}, asked, error));
    EXPECT_EQ(asked.dataDir, "/usr/share/games/arcade-game");
    EXPECT_TRUE(asked.version);
    EXPECT_TRUE(asked.scoresServer.empty()) << "no table unless one is named";

    ASSERT_TRUE(Parse({"--scores-server", "https://scores.example.org"}, asked, error)) << error;
    EXPECT_EQ(asked.scoresServer, "https://scores.example.org");
    EXPECT_FALSE(Parse({"--scores-server=scores.example.org"}, asked, error));
    EXPECT_EQ(error,
              "--scores-server takes an http:// or https:// address, not 'scores.example.org'");
}

}  // namespace
