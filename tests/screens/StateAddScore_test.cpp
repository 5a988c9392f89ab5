#include "screens/StateAddScore.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/GameEngine.h"
#include "screens/StateShowScore.h"
#include "support/Frames.h"
#include "support/HighScores.h"
#include "support/Scratch.h"

namespace {
// Installs the add-score screen as the game-over screen leaves it: name confirmed, entry off.
StateAddScore* OpenAddScore(GameEngine& engine, int score) {
    auto* screen = new StateAddScore(engine.GetAssets());
    screen->SetScore(score);
    engine.SetState(screen);
    return screen;
}

TEST(AddScoreScreen, EnterStoresTheConfirmedNameOnceAndOpensTheList) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    engine.SetEntername();
    PushText("Ann");
    PushKey(SDLK_RETURN, '\r');
    RunUntilQueueEmpty(engine);
    engine.SetEntername();
    engine.SetNameentered();
    StateAddScore* screen = OpenAddScore(engine, 3);

    // Arrows and Space do nothing here.
    HoldKey(SDLK_LEFT, true);
    HoldKey(SDLK_RIGHT, true);
    PushKey(SDLK_SPACE, ' ');
    RunFrames(engine, 3);
    ReleaseAllInput();
    EXPECT_EQ(engine.GetState(), screen);
    EXPECT_FALSE(FileExists(dir.File("highscore.txt")));

    PushKey(SDLK_RETURN, '\r');
    engine.RunFrame();
    EXPECT_EQ(ReadWholeFile(dir.File("highscore.txt")), "03 points - Ann\n");
    auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->ShownCount(), 1u);
    EXPECT_EQ(list->GetEntries()[0], "03 points - Ann");
    EXPECT_NE(list->ShownText(0).GetSurface(), nullptr);
    EXPECT_FALSE(engine.Names().On());
    EXPECT_FALSE(engine.Names().Confirmed());

    // The next game's name starts from this one; what is stored is what was confirmed then.
    engine.SetEntername();
    PushText("e");
    PushKey(SDLK_RETURN, '\r');
    RunUntilQueueEmpty(engine);
    engine.SetEntername();
    engine.SetNameentered();
    OpenAddScore(engine, 12);
    PushKey(SDLK_RETURN, '\r');
    engine.RunFrame();
    EXPECT_EQ(ReadWholeFile(dir.File("highscore.txt")), "12 points - Anne\n03 points - Ann\n");
}

TEST(AddScoreScreen, EmptyNameAndEscapeStoreNothingMore) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    ConfirmName(engine, "");
    StoreScore(engine, 0);
    EXPECT_EQ(ReadWholeFile(dir.File("highscore.txt")), "00 points - \n");

    // Escape quits from the add-score screen and leaves the file alone.
    OpenAddScore(engine, 5);
    PushKey(SDLK_ESCAPE);
    engine.RunFrame();
    EXPECT_TRUE(engine.QuitRequested());
    EXPECT_EQ(ReadWholeFile(dir.File("highscore.txt")), "00 points - \n");
}
}  // namespace
