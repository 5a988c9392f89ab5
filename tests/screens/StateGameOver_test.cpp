#include "screens/StateGameOver.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/GameEngine.h"
#include "play/StatePlay.h"
#include "screens/StateAddScore.h"
#include "support/Frames.h"
#include "support/Pictures.h"
#include "support/Scratch.h"

namespace {

// Installs the game-over screen the way the end of a game does: score first, then name entry
// on, then the switch.
StateGameOver* EndGameWith(GameEngine& engine, int score) {
    auto* screen = new StateGameOver();
    screen->SetScore(score);
    engine.SetEntername();
    engine.SetState(screen);
    return screen;
}

void Press(GameEngine& engine, SDLKey sym, Uint16 unicode) {
    PushKey(sym, unicode);
    engine.RunFrame();
}

TEST(GameOverScreen, ShowsItsPictureAndWithoutItLeavesTheWindowAsItWas) {
    ScratchDir dir(false);
    GameEngine engine;
    UseFakeClock(engine);
    SDL_Surface* window = engine.GetScreen();

    EndGameWith(engine, 0);  // no gameover.png in the folder
    SDL_FillRect(window, nullptr, SDL_MapRGB(window->format, 1, 2, 3));
    engine.GetState()->Draw(window);
    EXPECT_EQ(PixelAt(window, 0, 0), (Rgb{1, 2, 3}));

    WriteSolidPicture(dir.File("gameover.png"), 640, 480, 90, 10, 10);
    engine.SetState(new StateGameOver());
    engine.GetState()->Draw(window);
    EXPECT_EQ(PixelAt(window, 0, 0), (Rgb{90, 10, 10}));
    EXPECT_EQ(PixelAt(window, 639, 479), (Rgb{90, 10, 10}));
}

TEST(GameOverScreen, FirstReturnConfirmsTheNameAndTheSecondMovesOnWithEntryOff) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    StateGameOver* screen = EndGameWith(engine, 42);

    // While the name is typed, Space is a character of it and the held arrows are ignored.
    HoldKey(SDLK_LEFT, true);
    HoldKey(SDLK_RIGHT, true);
    PushText("Al");
    RunUntilQueueEmpty(engine);
    Press(engine, SDLK_SPACE, ' ');
    EXPECT_EQ(engine.Names().Name(), "Al ");
    ASSERT_EQ(engine.GetState(), screen);
    EXPECT_EQ(screen->GetScore(), 42);

    Press(engine, SDLK_RETURN, '\r');
    ASSERT_EQ(engine.GetState(), screen);
    EXPECT_TRUE(engine.Names().On());
    EXPECT_TRUE(engine.Names().Confirmed());

    // Confirmed: Space and the arrows now reach the screen, which ignores them.
    Press(engine, SDLK_SPACE, ' ');
    RunFrames(engine, 3);
    ReleaseAllInput();
    ASSERT_EQ(engine.GetState(), screen);
    EXPECT_TRUE(engine.Names().On());
    EXPECT_TRUE(engine.Names().Confirmed());

    Press(engine, SDLK_RETURN, '\r');
    EXPECT_NE(dynamic_cast<StateAddScore*>(engine.GetState()), nullptr);
    EXPECT_FALSE(engine.Names().On());
    EXPECT_FALSE(engine.Names().Confirmed());
    // Confirming dropped the space after the name.
    EXPECT_EQ(engine.Names().Name(), "Al");
}

// The add-score screen keeps its score to itself; what it stores shows what it was handed.
TEST(GameOverScreen, HandsTheScoreOnToBeStoredZeroIncluded) {
    for (const int score : {0, 57}) {
        ScratchDir dir;
        GameEngine engine;
        UseFakeClock(engine);
        EndGameWith(engine, score);
        PushText("Bo");
        PushKey(SDLK_RETURN, '\r');  // confirms the name
        PushKey(SDLK_RETURN, '\r');  // on to the add-score screen
        PushKey(SDLK_RETURN, '\r');  // stores
        RunUntilQueueEmpty(engine);

        const std::string stored = ReadWholeFile(dir.File("highscore.txt"));
        ASSERT_NE(stored.find(" points - Bo"), std::string::npos) << stored;
        EXPECT_EQ(std::stoi(stored), score) << stored;
    }
}

TEST(GameOverScreen, TheGameEndsOverItWithNameEntryOn) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    auto* play = new StatePlay();
    engine.SetState(play);
    play->DropBomb(280, 400);  // straight onto the cannon
    engine.RunFrame();

    auto* screen = dynamic_cast<StateGameOver*>(engine.GetState());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->GetScore(), 0);
    EXPECT_TRUE(engine.Names().Typing());
    PushText("Cy");
    RunUntilQueueEmpty(engine);
    EXPECT_EQ(engine.Names().Name(), "Cy");
    EXPECT_EQ(engine.GetState(), screen);
}

}  // namespace
