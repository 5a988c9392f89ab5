#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/GameEngine.h"
#include "support/Scratch.h"

namespace {

TEST(EngineSetup, OpensTheTitledWindowAt640By480In32Bits) {
    ScratchDir dir;
    GameEngine engine;
    SDL_Surface* screen = engine.GetScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 640);
    EXPECT_EQ(screen->h, 480);
    EXPECT_EQ(screen->format->BitsPerPixel, 32);
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Arcade Game");
}

TEST(EngineSetupDeathTest, AFailedSdlStepStopsWithItsNameAndStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ScratchDir dir;
            setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
            GameEngine engine;
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "^arcade-game: SDL_Init failed: .+\n$");
}

}  // namespace
