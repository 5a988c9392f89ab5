// A whole game on the gamepad, through injected button events and a pad whose stick the test
// holds: menu, high scores, play, fire, pause, game over, the score stored and the menu again.
#include "engine/Gamepad.h"

#include <gtest/gtest.h>

#include <memory>

#include "play/PlayFixture.h"
#include "screens/StateAddScore.h"
#include "screens/StateGameOver.h"
#include "screens/StateMenu.h"
#include "screens/StateShowScore.h"

namespace {

class HeldPad : public Gamepad {
  public:
    PadHeld Held() override { return held; }
    PadHeld held;
};

void PushButton(Uint8 button) {
    SDL_Event event{};
    event.type = SDL_JOYBUTTONDOWN;
    event.jbutton.type = SDL_JOYBUTTONDOWN;
    event.jbutton.button = button;
    event.jbutton.state = SDL_PRESSED;
    SDL_PushEvent(&event);
}

// The hat's directions, and the stick only past its dead zone, either of them alone or both.
TEST(GamepadReading, HatDirectionsAndTheStickBeyondItsDeadZone) {
    const struct {
        Uint8 hat;
        Sint16 across;
        bool left;
        bool right;
    } readings[] = {
        {SDL_HAT_CENTERED, 0, false, false},    {SDL_HAT_CENTERED, -8000, false, false},
        {SDL_HAT_CENTERED, 8000, false, false}, {SDL_HAT_CENTERED, -8001, true, false},
        {SDL_HAT_CENTERED, 8001, false, true},  {SDL_HAT_CENTERED, -32768, true, false},
        {SDL_HAT_CENTERED, 32767, false, true}, {SDL_HAT_LEFT, 0, true, false},
        {SDL_HAT_RIGHT, 0, false, true},        {SDL_HAT_UP, 0, false, false},
        {SDL_HAT_DOWN, 0, false, false},        {SDL_HAT_LEFTUP, 0, true, false},
        {SDL_HAT_RIGHTDOWN, 8000, false, true}, {SDL_HAT_LEFT, 8001, true, true},
    };
    for (const auto& reading : readings) {
        const PadHeld held = ReadHeld(reading.hat, reading.across);
        EXPECT_EQ(held.left, reading.left) << int{reading.hat} << " " << reading.across;
        EXPECT_EQ(held.right, reading.right) << int{reading.hat} << " " << reading.across;
    }
}

TEST(GamepadCycle, MenuPlayFirePauseGameOverStoreAndBackWithTheKeyboardOnlyForTheName) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    auto owned = std::make_unique<HeldPad>();
    HeldPad* pad = owned.get();
    engine.SetGamepad(std::move(owned));
    engine.SetState(new StateMenu(engine.GetAssets()));
    auto button = [&engine](Uint8 which) {
        PushButton(which);
        engine.RunFrame();
    };
    auto play = [&engine]() { return dynamic_cast<StatePlay*>(engine.GetState()); };

    button(pad::kScoresButton);
    ASSERT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
    button(pad::kScoresButton);  // only the menu answers it
    ASSERT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
    button(pad::kFireButton);
    ASSERT_NE(dynamic_cast<StateMenu*>(engine.GetState()), nullptr);
    button(pad::kFireButton);
    ASSERT_NE(play(), nullptr);

    // Stick and arrow held the same way make one step a frame, not two.
    const int start = StatePlayProbe(*play()).Player()->GetPosX();
    pad->held.right = true;
    engine.RunFrame();
    const int step = StatePlayProbe(*play()).Player()->GetPosX() - start;
    EXPECT_GT(step, 0);
    HoldKey(SDLK_RIGHT, true);
    engine.RunFrame();
    EXPECT_EQ(StatePlayProbe(*play()).Player()->GetPosX(), start + 2 * step);
    HoldKey(SDLK_RIGHT, false);
    pad->held.right = false;

    button(pad::kFireButton);
    EXPECT_EQ(StatePlayProbe(*play()).Bullets().size(), 1u);
    // In play the scores button does nothing at all: no shot, no pause, no other screen.
    button(pad::kScoresButton);
    ASSERT_NE(play(), nullptr);
    EXPECT_EQ(StatePlayProbe(*play()).Bullets().size(), 1u);
    EXPECT_FALSE(engine.Paused());
    for (Uint8 startButton : pad::kStartButtons) {
        button(startButton);
        EXPECT_TRUE(engine.Paused());
        button(pad::kFireButton);
        pad->held.left = true;
        engine.RunFrame();
        pad->held.left = false;
        EXPECT_EQ(StatePlayProbe(*play()).Bullets().size(), 1u);
        EXPECT_EQ(StatePlayProbe(*play()).Player()->GetPosX(), start + 2 * step);
        button(startButton);
        EXPECT_FALSE(engine.Paused());
    }

    // Standing still, the cannon is hit before long.
    for (int frame = 0; frame < 20000 && play() != nullptr; ++frame) {
        engine.RunFrame();
    }
    ASSERT_NE(dynamic_cast<StateGameOver*>(engine.GetState()), nullptr);

    // The name is the keyboard's: the pad can neither type nor confirm it.
    button(pad::kFireButton);
    EXPECT_TRUE(engine.Names().Typing());
    PushText("Pad");
    PushKey(SDLK_RETURN, '\r');
    RunUntilQueueEmpty(engine);
    EXPECT_TRUE(engine.Names().Confirmed());
    button(pad::kFireButton);
    ASSERT_NE(dynamic_cast<StateAddScore*>(engine.GetState()), nullptr);
    button(pad::kFireButton);
    ASSERT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
    EXPECT_NE(ReadWholeFile(dir.File("highscore.txt")).find(" points - Pad"), std::string::npos);
    button(pad::kFireButton);
    EXPECT_NE(dynamic_cast<StateMenu*>(engine.GetState()), nullptr);
    ReleaseAllInput();
}

}  // namespace
