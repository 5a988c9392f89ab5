#include "server/ServerOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The error for argv, or "" when it is taken; options holds what was read.
std::string Parse(std::vector<const char*> words, server::ServerOptions& options) {
    words.insert(words.begin(), "arcade-scores");
    std::string error;
    server::ParseServerOptions(static_cast<int>(words.size()), words.data(), options, error);
    return error;
}

TEST(ServerOptions, BothFormsAreReadAndEveryBadWordIsNamedWithoutSwallowingTheNext) {
    server::ServerOptions options;
    EXPECT_EQ(Parse({"--port=0", "--db", "sqlite:x", "--posts-per-minute", "1000000"}, options),
              "");
    EXPECT_EQ(options.port, 0);
    EXPECT_EQ(options.db, "sqlite:x");
    EXPECT_EQ(options.postsPerMinute, 1000000);
    EXPECT_EQ(Parse({"--frob", "--port", "1"}, options),
              "unknown option \"--frob\" (--help lists them)");
    EXPECT_EQ(Parse({"8000"}, options), "unknown option \"8000\" (--help lists them)");
    EXPECT_EQ(Parse({"--site"}, options), "--site needs a value");
    EXPECT_NE(Parse({"--port", "65536"}, options), "");
    EXPECT_NE(Parse({"--port", "-1"}, options), "");
    EXPECT_NE(Parse({"--posts-per-minute=0"}, options), "");
}

}  // namespace
