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
    // Name entry reads the characters SDL translates: on from the start, not from the first text.
    EXPECT_EQ(SDL_EnableUNICODE(-1), 1);
}

// The tests push their events past SDL's filter, so only this sees what the filter lets through.
TEST(EngineSetup, LetsIntoTheQueueOnlyTheEventsThatTheGameAnswers) {
    ScratchDir dir;
    GameEngine engine;
    for (int type = SDL_NOEVENT + 1; type < SDL_NUMEVENTS; ++type) {
        const bool answered = type == SDL_KEYDOWN || type == SDL_QUIT || type == SDL_ACTIVEEVENT ||
                              type == SDL_JOYBUTTONDOWN;
        EXPECT_EQ(SDL_EventState(static_cast<Uint8>(type), SDL_QUERY),
                  answered ? SDL_ENABLE : SDL_IGNORE)
            << "event type " << type;
    }
}

TEST(EngineSetupDeathTest, AFailedSdlStepStopsWithItsNameAndStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // No scratch folder: the child stops inside the engine, before any destructor could remove it,
    // and SDL fails before a single file is opened.
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
            GameEngine engine;
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "^arcade-game: SDL_Init failed: .+\n$");
}

}  // namespace
