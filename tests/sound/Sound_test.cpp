// Which effect sounds for which event, heard through the engine's sound seam.
#include <gtest/gtest.h>

#include "play/PlayFixture.h"
#include "screens/StateAddScore.h"
#include "screens/StateGameOver.h"
#include "screens/StateMenu.h"
#include "screens/StateShowScore.h"
#include "support/RecordingSound.h"

namespace {

using Effects = std::vector<Effect>;

class PlaySounds : public PlayField {
  protected:
    PlaySounds() { sound = UseRecordingSound(engine); }

    // Puts a bullet where the first airplane will be after its step, and runs the frame.
    void ShootFirstAirplane() {
        const Sprite& airplane = *Probe().Airplane();
        BulletAt((airplane.GetPosX() < 650 ? airplane.GetPosX() + 2 : -80) + 30, 50);
        Frame();
    }
    Effects Heard() {
        Effects heard = sound->played;
        sound->played.clear();
        return heard;
    }

    RecordingSound* sound = nullptr;
};

TEST_F(PlaySounds, ShotsHitsTheLastHitAndTheLevelEachSoundButBombsDoNot) {
    PushKey(SDLK_SPACE, ' ');
    Frame();
    EXPECT_EQ(Heard(), (Effects{Effect::Fire}));
    // A bullet the test puts in the field was never fired by the player.
    for (int hit = 1; hit <= 4; ++hit) {
        ShootFirstAirplane();
        EXPECT_EQ(Heard(), (Effects{Effect::AirplaneHit})) << "hit " << hit;
    }
    ShootFirstAirplane();
    EXPECT_EQ(Heard(), (Effects{Effect::AirplaneDown, Effect::LevelCleared}));

    // Level 2 bombs often: many fall, none is heard.
    const std::size_t bombsBefore = Probe().Bombs().size();
    RunFrames(engine, 40);
    ASSERT_GT(Probe().Bombs().size(), bombsBefore + 2);
    EXPECT_EQ(Heard(), Effects{});

    BombAt(300, 440);
    Frame();
    ASSERT_NE(dynamic_cast<StateGameOver*>(engine.GetState()), nullptr);
    EXPECT_EQ(Heard(), (Effects{Effect::CannonDestroyed}));
}

TEST(ScreenSounds, EveryConfirmingKeySoundsUnlessMutedAndMIsALetterInAName) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    RecordingSound* sound = UseRecordingSound(engine);
    engine.SetState(new StateMenu(engine.GetAssets()));
    auto press = [&engine](SDLKey sym, Uint16 unicode = 0) {
        PushKey(sym, unicode);
        engine.RunFrame();
    };

    press(SDLK_SPACE, ' ');
    ASSERT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
    press(SDLK_RETURN, '\r');
    ASSERT_NE(dynamic_cast<StateMenu*>(engine.GetState()), nullptr);
    EXPECT_EQ(sound->played, (Effects{Effect::Select, Effect::Select}));

    // Muted: the game goes on in silence, and what was still sounding stops.
    sound->played.clear();
    press(SDLK_m, 'm');
    EXPECT_TRUE(engine.Muted());
    EXPECT_EQ(sound->halts, 1);
    press(SDLK_RETURN, '\r');
    press(SDLK_SPACE, ' ');
    ASSERT_NE(dynamic_cast<StatePlay*>(engine.GetState()), nullptr);
    EXPECT_EQ(sound->played, Effects{});
    press(SDLK_m, 'm');
    EXPECT_FALSE(engine.Muted());
    press(SDLK_SPACE, ' ');
    EXPECT_EQ(sound->played, (Effects{Effect::Fire}));

    // While the name is typed, M is a letter; Return confirms with a sound, and so do the two
    // Returns that store the score and leave the list.
    sound->played.clear();
    engine.SetState(new StateGameOver(engine.GetAssets()));
    engine.SetEntername();
    PushText("Mo");
    RunUntilQueueEmpty(engine);
    EXPECT_FALSE(engine.Muted());
    EXPECT_EQ(engine.Names().Name(), "Mo");
    press(SDLK_RETURN, '\r');
    press(SDLK_RETURN, '\r');
    ASSERT_NE(dynamic_cast<StateAddScore*>(engine.GetState()), nullptr);
    press(SDLK_RETURN, '\r');
    ASSERT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
    EXPECT_EQ(sound->played, (Effects{Effect::Select, Effect::Select, Effect::Select}));
    ReleaseAllInput();
}

}  // namespace
