#include <gtest/gtest.h>

#include "engine/GameEngine.h"
#include "play/StatePlay.h"
#include "screens/StateMenu.h"
#include "screens/StateShowScore.h"
#include "support/Frames.h"
#include "support/Scratch.h"

namespace {

class Menu : public ::testing::Test {
  protected:
    explicit Menu(bool withPictures = true) : dir(withPictures) {
        UseFakeClock(engine);
        engine.SetState(new StateMenu(engine.GetAssets()));
    }
    ~Menu() override { ReleaseAllInput(); }

    ScratchDir dir;
    GameEngine engine;
};

TEST_F(Menu, HeldArrowsAndOtherKeysLeaveTheMenuAsItIs) {
    GameState* menu = engine.GetState();
    HoldKey(SDLK_LEFT, true);
    HoldKey(SDLK_RIGHT, true);
    PushKey(SDLK_a, 'a');
    PushKey(SDLK_TAB, '\t');
    RunFrames(engine, 5);
    EXPECT_EQ(engine.GetState(), menu);
}

TEST_F(Menu, EnterStartsANewGameEveryTime) {
    PushKey(SDLK_RETURN);
    engine.RunFrame();
    EXPECT_NE(dynamic_cast<StatePlay*>(engine.GetState()), nullptr);

    engine.SetState(new StateMenu(engine.GetAssets()));
    PushKey(SDLK_RETURN);
    engine.RunFrame();
    auto* secondGame = dynamic_cast<StatePlay*>(engine.GetState());
    ASSERT_NE(secondGame, nullptr);
    EXPECT_EQ(secondGame->GetEngine(), &engine);
}

TEST_F(Menu, SpaceOpensTheHighScores) {
    PushKey(SDLK_SPACE);
    engine.RunFrame();
    EXPECT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
}

TEST_F(Menu, DrawsItsPictureOverTheWholeWindow) {
    SDL_Surface* screen = engine.GetScreen();
    const Uint32 sentinel = SDL_MapRGB(screen->format, 1, 2, 3);
    SDL_FillRect(screen, nullptr, sentinel);
    engine.RunFrame();
    SDL_LockSurface(screen);
    const auto* pixels = static_cast<const Uint32*>(screen->pixels);
    int untouched = 0;
    for (int i = 0; i < 640 * 480; ++i) {
        untouched += pixels[i] == sentinel;
    }
    SDL_UnlockSurface(screen);
    EXPECT_EQ(untouched, 0);
}

class MenuWithoutPicture : public Menu {
  protected:
    MenuWithoutPicture() : Menu(false) {}
};

TEST_F(MenuWithoutPicture, DrawsNothingAndStillLeadsOn) {
    SDL_Surface* screen = engine.GetScreen();
    const Uint32 sentinel = SDL_MapRGB(screen->format, 1, 2, 3);
    SDL_FillRect(screen, nullptr, sentinel);
    engine.RunFrame();
    SDL_LockSurface(screen);
    EXPECT_EQ(static_cast<const Uint32*>(screen->pixels)[0], sentinel);
    SDL_UnlockSurface(screen);
    PushKey(SDLK_RETURN);
    engine.RunFrame();
    EXPECT_NE(dynamic_cast<StatePlay*>(engine.GetState()), nullptr);
}

}  // namespace
