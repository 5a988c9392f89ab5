#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "engine/RecordingState.h"
#include "engine/StopSignals.h"
#include "support/Frames.h"
#include "support/Scratch.h"

namespace {

using Log = std::vector<std::string>;

class MainLoop : public ::testing::Test {
  protected:
    MainLoop() { clock = UseFakeClock(engine); }
    ~MainLoop() override { ReleaseAllInput(); }

    RecordingState* Install(const std::string& label) {
        auto* state = new RecordingState(label, log);
        engine.SetState(state);
        return state;
    }

    // The log outlives the engine, whose screens write into it when they are destroyed.
    Log log;
    ScratchDir dir;
    GameEngine engine;
    FakeClock* clock = nullptr;
};

TEST_F(MainLoop, FrameSendsEventThenHeldArrowsLeftFirstThenUpdatesAndDraws) {
    Install("menu");
    PushKey(SDLK_SPACE);
    HoldKey(SDLK_RIGHT, true);
    HoldKey(SDLK_LEFT, true);
    engine.RunFrame();
    EXPECT_EQ(log, (Log{"menu:key4", "menu:key1", "menu:key2", "menu:move", "menu:draw"}));

    log.clear();
    HoldKey(SDLK_LEFT, false);
    engine.RunFrame();
    EXPECT_EQ(log, (Log{"menu:key2", "menu:move", "menu:draw"}));
}

TEST_F(MainLoop, ScreenReplacedDuringKeyGetsTheRestOfTheSameFrame) {
    RecordingState* first = Install("first");
    first->onKey = [this](int) {
        // Like a real screen: everything is read before the switch, which destroys this closure.
        GameEngine& owner = engine;
        auto* next = new RecordingState("second", log);
        owner.SetState(next);
    };
    PushKey(SDLK_RETURN);
    HoldKey(SDLK_LEFT, true);
    engine.RunFrame();
    EXPECT_EQ(log,
              (Log{"first:key3", "first:destroyed", "second:key1", "second:move", "second:draw"}));
    EXPECT_EQ(engine.GetState()->GetEngine(), &engine);
}

TEST_F(MainLoop, TakesOneEventPerFrame) {
    Install("menu");
    PushKey(SDLK_SPACE);
    PushKey(SDLK_RETURN);
    engine.RunFrame();
    EXPECT_EQ(log, (Log{"menu:key4", "menu:move", "menu:draw"}));
    log.clear();
    engine.RunFrame();
    EXPECT_EQ(log, (Log{"menu:key3", "menu:move", "menu:draw"}));
    log.clear();
    engine.RunFrame();
    EXPECT_EQ(log, (Log{"menu:move", "menu:draw"}));
}

TEST_F(MainLoop, OtherKeysAndEventsAreDropped) {
    Install("menu");
    PushKey(SDLK_a, 'a');
    PushKey(SDLK_UP);
    // The full-screen chords, with either Alt, are never a Return.
    for (SDLMod alt : {KMOD_LALT, KMOD_RALT}) {
        SDL_Event chord{};
        chord.type = SDL_KEYDOWN;
        chord.key.state = SDL_PRESSED;
        chord.key.keysym.sym = SDLK_RETURN;
        chord.key.keysym.mod = alt;
        chord.key.keysym.unicode = '\r';
        SDL_PushEvent(&chord);
    }
    PushKey(SDLK_F11);
    SDL_Event mouse{};
    mouse.type = SDL_MOUSEBUTTONDOWN;
    SDL_PushEvent(&mouse);
    RunFrames(engine, 6);
    Log idle;
    for (int frame = 0; frame < 6; ++frame) {
        idle.insert(idle.end(), {"menu:move", "menu:draw"});
    }
    EXPECT_EQ(log, idle);
    EXPECT_FALSE(engine.QuitRequested());
}

// Page Up and Down and the keypad's + and - step the window's size, on every screen and while a
// name is typed too; no screen and no name sees them.
TEST_F(MainLoop, PageKeysAndTheKeypadsPlusAndMinusStepTheWindowsSize) {
    Install("gameover");
    struct Step {
        SDLKey key;
        Uint16 character;
        int width;
    };
    const Step steps[] = {{SDLK_PAGEUP, 0, 1280},     {SDLK_KP_PLUS, '+', 1920},
                          {SDLK_KP_MINUS, '-', 1280}, {SDLK_PAGEDOWN, 0, 640},
                          {SDLK_KP_MINUS, '-', 640},  {SDLK_KP_PLUS, '+', 1280},
                          {SDLK_KP_MINUS, '-', 640}};
    for (const bool typing : {false, true}) {
        if (typing) {
            engine.SetEntername();
        }
        for (const Step& step : steps) {
            PushKey(step.key, step.character);
            engine.RunFrame();
            EXPECT_EQ(SDL_GetVideoSurface()->w, step.width)
                << SDL_GetKeyName(step.key) << (typing ? " while typing" : "");
        }
    }
    for (const std::string& entry : log) {
        EXPECT_EQ(entry.find(":key"), std::string::npos) << entry;
    }
    EXPECT_EQ(engine.Names().Name(), "");
}

TEST_F(MainLoop, EscapeAndClosingTheWindowEndTheLoopAfterTheirFrame) {
    Install("menu");
    PushKey(SDLK_ESCAPE);
    engine.Loop();
    EXPECT_EQ(log, (Log{"menu:move", "menu:draw"}));

    log.clear();
    PushQuit();
    engine.Loop();
    EXPECT_EQ(log, (Log{"menu:move", "menu:draw"}));
}

TEST_F(MainLoop, EscapeWhileTypingANameDoesNotQuitButClosingTheWindowDoes) {
    Install("gameover");
    engine.SetEntername();
    PushKey(SDLK_ESCAPE, 27);
    PushKey(SDLK_SPACE, ' ');
    PushKey(SDLK_RETURN, '\r');
    RunFrames(engine, 3);
    EXPECT_FALSE(engine.QuitRequested());
    // Space and Return belonged to the name: the screen saw neither.
    for (const std::string& entry : log) {
        EXPECT_EQ(entry.find(":key"), std::string::npos) << entry;
    }
    EXPECT_TRUE(engine.Names().Confirmed());

    PushQuit();
    engine.Loop();
    EXPECT_TRUE(engine.QuitRequested());
}

// As the game runs, SIGTERM and SIGINT are held and end it as closing the window does, also when
// they came while the engine started: its start empties SDL's queue, which once took the stop
// with it.
TEST(StopSignal, EndsTheGameWhetherItCameAsTheWindowOpenedOrDuringPlay) {
    ScratchDir dir;
    const StopSignals held;
    for (const bool beforeStart : {true, false}) {
        if (beforeStart) {
            raise(SIGTERM);
        }
        Log log;
        GameEngine engine;
        UseFakeClock(engine);
        engine.SetState(new RecordingState("menu", log));
        if (!beforeStart) {
            RunFrames(engine, 3);
            ASSERT_FALSE(engine.QuitRequested());
            raise(SIGINT);
        }
        // Generous: the stop belongs to the first frame that takes an event.
        for (int frame = 0; frame < 100 && !engine.QuitRequested(); ++frame) {
            engine.RunFrame();
        }
        EXPECT_TRUE(engine.QuitRequested()) << (beforeStart ? "sent at the start" : "in play");
    }
}

TEST_F(MainLoop, HeldArrowsReachTheScreenWhileTyping) {
    Install("gameover");
    engine.SetEntername();
    HoldKey(SDLK_LEFT, true);
    HoldKey(SDLK_RIGHT, true);
    engine.RunFrame();
    EXPECT_EQ(log, (Log{"gameover:key1", "gameover:key2", "gameover:move", "gameover:draw"}));
}

// The player's own keys from the settings: added to the arrows and Space, and recorded as them,
// but letters of the name while one is typed.
TEST(BoundKeys, MoveAndFireBesideTheArrowsAndSpaceButNeverWhileANameIsTyped) {
    Log log;
    ScratchDir dir;
    WriteWholeFile(dir.File("settings"), "left = a\nRight = D\nfire = w\n");
    Options options;
    options.settingsPath = dir.File("settings");
    GameEngine engine(options);
    UseFakeClock(engine);
    engine.SetState(new RecordingState("menu", log));
    PushKey(SDLK_w, 'w');
    HoldKey(SDLK_a, true);
    HoldKey(SDLK_d, true);
    engine.RunFrame();
    EXPECT_EQ(log, (Log{"menu:key4", "menu:key1", "menu:key2", "menu:move", "menu:draw"}));

    engine.SetEntername();
    log.clear();
    PushKey(SDLK_w, 'w');
    engine.RunFrame();
    EXPECT_EQ(log, (Log{"menu:move", "menu:draw"}));
    EXPECT_EQ(engine.Names().Name(), "w");
    ReleaseAllInput();
}

TEST_F(MainLoop, WaitsOutTheRestOfTwentyMillisecondsAndNeverWrapsOnOverrun) {
    Install("menu");
    // Readings 1 ms apart: the frame took 1 ms, so 19 ms remain.
    clock->advancePerReading = 1;
    engine.RunFrame();
    ASSERT_EQ(clock->delays.size(), 1u);
    EXPECT_EQ(clock->delays[0], 19u);

    // A frame that took exactly 20 ms or more is followed at once by the next.
    clock->delays.clear();
    for (Uint32 took : {20u, 21u, 5000u}) {
        clock->advancePerReading = took;
        engine.RunFrame();
    }
    EXPECT_TRUE(clock->delays.empty());

    // The deadline may lie past the wrap of the millisecond counter.
    clock->now = UINT32_MAX - 5;
    clock->advancePerReading = 2;
    engine.RunFrame();
    ASSERT_EQ(clock->delays.size(), 1u);
    EXPECT_EQ(clock->delays[0], 18u);
}

TEST(EngineOwnership, SetStateOnAnEmptyEngineOnlyInstallsAndTheEngineDestroysItsScreen) {
    Log log;
    {
        ScratchDir dir;
        GameEngine engine;
        EXPECT_EQ(engine.GetState(), nullptr);
        auto* state = new RecordingState("only", log);
        engine.SetState(state);
        EXPECT_EQ(engine.GetState(), state);
        EXPECT_EQ(state->GetEngine(), &engine);
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, (Log{"only:destroyed"}));
}

}  // namespace
