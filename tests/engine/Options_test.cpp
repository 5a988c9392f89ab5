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

TEST(Options, AMissingValueOrAnUnknownWordIsRefused) {
    Options options;
    std::string error;
    EXPECT_FALSE(Parse({"--scale"}, options, error));
    EXPECT_FALSE(Parse({"--settings"}, options, error));
    EXPECT_FALSE(Parse({"--settings="}, options, error));
    EXPECT_FALSE(Parse({"--fly"}, options, error));
    EXPECT_EQ(error, "unknown option '--fly'");
    Options bare;
    EXPECT_TRUE(Parse({}, bare, error));
    EXPECT_FALSE(bare.scale.has_value());
    EXPECT_TRUE(bare.settingsPath.empty());
}

}  // namespace
