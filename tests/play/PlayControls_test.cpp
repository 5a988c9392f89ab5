// Keys, firing, dropping and the layering of the drawing.
#include "engine/GameKey.h"
#include "play/PlayFixture.h"
#include "support/Pictures.h"

namespace {

using PlayControls = PlayField;

TEST_F(PlayControls, SpaceFiresFromTheCannonAndEachShotFliesFromItsOwnFrame) {
    Play()->FireBullet(280, 423);
    ASSERT_EQ(Probe().Bullets().size(), 1u);
    EXPECT_EQ(PositionOf(*Probe().Bullets()[0]), Position(313, 420));
    engine.SetState(new StatePlay(engine.GetAssets()));

    // Pressed in three frames: the update after the keys moves each new bullet at once.
    for (int press = 0; press < 3; ++press) {
        PushKey(SDLK_SPACE, ' ');
        Frame();
    }
    const auto& bullets = Probe().Bullets();
    ASSERT_EQ(bullets.size(), 3u);
    EXPECT_EQ(PositionOf(*bullets[0]), Position(313, 408));
    EXPECT_EQ(PositionOf(*bullets[1]), Position(313, 412));
    EXPECT_EQ(PositionOf(*bullets[2]), Position(313, 416));
    EXPECT_NE(bullets[0]->GetImage(), nullptr);
    EXPECT_NE(bullets[0]->GetImage(), bullets[1]->GetImage());

    // Return fires nothing and moves nothing.
    PushKey(SDLK_RETURN, '\r');
    Frame();
    EXPECT_EQ(Probe().Bullets().size(), 3u);
    EXPECT_EQ(PositionOf(*Probe().Player()), Position(280, 423));
}

TEST_F(PlayControls, ArrowsMoveTheCannonThreePixelsAtATimeAndStopPastTheirBounds) {
    StatePlay& play = *Play();
    const PlayerSprite& cannon = *Probe().Player();
    for (int i = 0; i < 93; ++i) {
        play.KeyPressed(KeyLeft);
    }
    EXPECT_EQ(PositionOf(cannon), Position(1, 423));
    play.KeyPressed(KeyLeft);
    EXPECT_EQ(cannon.GetPosX(), -2);
    play.KeyPressed(KeyLeft);
    EXPECT_EQ(cannon.GetPosX(), -2);

    // Both arrows: the engine sends left, then right. At -2 only the right step is taken;
    // from 1 on, the two cancel out.
    play.KeyPressed(KeyLeft);
    play.KeyPressed(KeyRight);
    EXPECT_EQ(cannon.GetPosX(), 1);
    play.KeyPressed(KeyLeft);
    play.KeyPressed(KeyRight);
    EXPECT_EQ(cannon.GetPosX(), 1);

    for (int i = 0; i < 198; ++i) {
        play.KeyPressed(KeyRight);
    }
    EXPECT_EQ(cannon.GetPosX(), 595);
    play.KeyPressed(KeyRight);
    EXPECT_EQ(PositionOf(cannon), Position(595, 423));

    // Through the main loop: a held arrow is a step in every frame.
    HoldKey(SDLK_LEFT, true);
    RunFrames(engine, 5);
    EXPECT_EQ(cannon.GetPosX(), 580);
}

TEST_F(PlayControls, BombsStartBelowTheMiddleOfTheirAirplane) {
    Play()->DropBomb(-80, 35);
    Play()->DropBomb(100, 80);
    const auto& bombs = Probe().Bombs();
    ASSERT_EQ(bombs.size(), 2u);
    EXPECT_EQ(PositionOf(*bombs[0]), Position(-42, 70));
    EXPECT_EQ(PositionOf(*bombs[1]), Position(138, 115));
    EXPECT_FALSE(bombs[0]->GetDel());
    EXPECT_NE(bombs[0]->GetImage(), nullptr);
    EXPECT_NE(bombs[0]->GetImage(), bombs[1]->GetImage());
}

const Rgb kBackground = {40, 40, 40};
const Rgb kCannon = {0, 200, 0};
const Rgb kAirplane = {0, 0, 200};
const Rgb kShield = {200, 200, 0};
const Rgb kBullet = {255, 255, 255};
const Rgb kBomb = {200, 0, 0};

// A field drawn with one plain colour for each kind of picture.
class PlayDrawing : public PlayField {
  protected:
    PlayDrawing() : PlayField(false) {
        Write("bg.png", 640, 480, kBackground);
        Write("canon.png", 72, 55, kCannon);
        Write("airplane.png", 73, 43, kAirplane);
        Write("airplane2.png", 73, 43, kAirplane);
        Write("shield.png", 95, 12, kShield);
        Write("bullet.png", 5, 10, kBullet);
        Write("bomb.png", 6, 10, kBomb);
        engine.SetState(new StatePlay(engine.GetAssets()));
    }

    void Write(const char* name, int w, int h, Rgb colour) {
        WriteSolidPicture(dir.File(name), w, h, colour.r, colour.g, colour.b);
    }
    // Draws the field on a black window and reads one pixel back.
    Rgb DrawnAt(int x, int y) {
        SDL_FillRect(engine.GetScreen(), nullptr, 0);
        Play()->Draw(engine.GetScreen());
        return PixelAt(engine.GetScreen(), x, y);
    }
    bool HudHasInk(int fromX, int toX) {
        for (int y = 11; y < 40; ++y) {
            for (int x = fromX; x < toX; ++x) {
                if (PixelAt(engine.GetScreen(), x, y) == Rgb{255, 0, 255}) {
                    return true;
                }
            }
        }
        return false;
    }
};

TEST_F(PlayDrawing, ShotsPassInFrontOfTheCannonAndBehindTheShields) {
    EXPECT_EQ(DrawnAt(0, 0), kBackground);
    EXPECT_EQ(DrawnAt(639, 300), kBackground);
    EXPECT_EQ(DrawnAt(280, 423), kCannon);
    EXPECT_EQ(DrawnAt(351, 477), kCannon);
    EXPECT_EQ(DrawnAt(10, 350), kShield);
    EXPECT_EQ(DrawnAt(630, 361), kShield);
    EXPECT_TRUE(HudHasInk(290, 320));
    EXPECT_TRUE(HudHasInk(520, 550));

    BulletAt(300, 440);
    BombAt(320, 440);
    BulletAt(50, 345);   // reaches into the left shield from above
    BombAt(560, 345);    // and this one into the right one
    BulletAt(400, 200);  // under a bomb: bombs are drawn after bullets
    BombAt(400, 200);
    EXPECT_EQ(DrawnAt(301, 441), kBullet);
    EXPECT_EQ(DrawnAt(321, 441), kBomb);
    EXPECT_EQ(DrawnAt(51, 346), kBullet);
    EXPECT_EQ(DrawnAt(51, 352), kShield);
    EXPECT_EQ(DrawnAt(561, 346), kBomb);
    EXPECT_EQ(DrawnAt(561, 352), kShield);
    EXPECT_EQ(DrawnAt(401, 201), kBomb);
}

TEST_F(PlayDrawing, AirplanesAreDrawnWhileInPlayAndShieldsWhileTheyStand) {
    RunFrames(engine, 60);  // the first airplane flies in to x 40
    ASSERT_EQ(Probe().Airplane()->GetPosX(), 40);
    EXPECT_EQ(DrawnAt(100, 36), kAirplane);
    BulletAt(60, 50);
    EXPECT_EQ(DrawnAt(61, 51), kBullet);

    // Level 4 has no shield left.
    Play()->NextLevel();
    Play()->NextLevel();
    Play()->NextLevel();
    EXPECT_EQ(DrawnAt(10, 350), kBackground);
    EXPECT_EQ(DrawnAt(536, 350), kBackground);
}

}  // namespace
