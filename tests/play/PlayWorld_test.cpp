// The field of a new game, the level table, the HUD and the teardown.
#include <climits>
#include <memory>

#include "play/PlayFixture.h"

namespace {

TEST_F(PlayField, NewGameHasOneAirplaneTwoShieldsAndShowsLevelOneScoreZero) {
    const StatePlayProbe field = Probe();
    EXPECT_EQ(PositionOf(*field.Background()), Position(0, 0));
    EXPECT_EQ(PositionOf(*field.Player()), Position(280, 423));
    ASSERT_NE(field.Airplane(), nullptr);
    EXPECT_EQ(PositionOf(*field.Airplane()), Position(-80, 35));
    EXPECT_EQ(field.Airplane2(), nullptr);
    ASSERT_NE(field.ShieldLeft(), nullptr);
    ASSERT_NE(field.ShieldRight(), nullptr);
    EXPECT_EQ(PositionOf(*field.ShieldLeft()), Position(10, 350));
    EXPECT_EQ(PositionOf(*field.ShieldRight()), Position(536, 350));
    EXPECT_TRUE(field.Bullets().empty());
    EXPECT_TRUE(field.Bombs().empty());
    EXPECT_EQ(field.AirplaneHits(), 5);
    EXPECT_EQ(field.Airplane2Hits(), 0);
    EXPECT_EQ(field.Level(), 1);
    EXPECT_EQ(field.Score(), 0);

    // Every sprite has its own picture, the two shields included.
    EXPECT_NE(field.Background()->GetImage(), nullptr);
    EXPECT_NE(field.Player()->GetImage(), nullptr);
    EXPECT_NE(field.Airplane()->GetImage(), nullptr);
    EXPECT_NE(field.ShieldLeft()->GetImage(), nullptr);
    EXPECT_NE(field.ShieldLeft()->GetImage(), field.ShieldRight()->GetImage());

    EXPECT_TRUE(Shows(field.LevelText(), "1"));
    EXPECT_TRUE(Shows(field.ScoreText(), "0"));
    EXPECT_EQ(field.LevelText().GetPosX(), 290);
    EXPECT_EQ(field.LevelText().GetPosY(), 11);
    EXPECT_EQ(field.ScoreText().GetPosX(), 520);
    EXPECT_EQ(field.ScoreText().GetPosY(), 11);
}

TEST(PlayNumbers, ItosWritesPlainDecimalText) {
    EXPECT_EQ(StatePlay::itos(0), "0");
    EXPECT_EQ(StatePlay::itos(12), "12");
    EXPECT_EQ(StatePlay::itos(100), "100");
    EXPECT_EQ(StatePlay::itos(223), "223");
    EXPECT_EQ(StatePlay::itos(-1), "-1");
    EXPECT_EQ(StatePlay::itos(-7), "-7");
    EXPECT_EQ(StatePlay::itos(INT_MAX), "2147483647");
    EXPECT_EQ(StatePlay::itos(INT_MIN), "-2147483648");
}

TEST_F(PlayField, EachNextLevelSetsUpItsAirplanesHitPointsAndShields) {
    // Projectiles in flight and the score carry over from one level into the next.
    BulletAt(400, 300);
    BombAt(450, 200);
    const Sprite* leftShield = Probe().ShieldLeft();
    const SDL_Surface* shieldPicture = leftShield->GetImage();

    Play()->NextLevel();
    StatePlayProbe field = Probe();
    EXPECT_EQ(field.Level(), 2);
    EXPECT_TRUE(Shows(field.LevelText(), "2"));
    ASSERT_NE(field.Airplane(), nullptr);
    ASSERT_NE(field.Airplane2(), nullptr);
    EXPECT_EQ(PositionOf(*field.Airplane()), Position(-80, 35));
    EXPECT_EQ(PositionOf(*field.Airplane2()), Position(750, 80));
    EXPECT_NE(field.Airplane2()->GetImage(), nullptr);
    EXPECT_EQ(field.AirplaneHits(), 3);
    EXPECT_EQ(field.Airplane2Hits(), 3);
    ASSERT_EQ(field.ShieldLeft(), leftShield);
    EXPECT_EQ(PositionOf(*field.ShieldLeft()), Position(270, 350));
    EXPECT_EQ(field.ShieldLeft()->GetImage(), shieldPicture);
    EXPECT_EQ(field.ShieldRight(), nullptr);
    ASSERT_EQ(field.Bullets().size(), 1u);
    EXPECT_EQ(PositionOf(*field.Bullets()[0]), Position(400, 300));
    ASSERT_EQ(field.Bombs().size(), 1u);
    EXPECT_EQ(PositionOf(*field.Bombs()[0]), Position(450, 200));

    Play()->NextLevel();
    field = Probe();
    EXPECT_EQ(field.Level(), 3);
    EXPECT_TRUE(Shows(field.LevelText(), "3"));
    EXPECT_EQ(field.AirplaneHits(), 6);
    EXPECT_EQ(field.Airplane2Hits(), 6);
    ASSERT_EQ(field.ShieldLeft(), leftShield);
    EXPECT_EQ(PositionOf(*field.ShieldLeft()), Position(536, 350));
    EXPECT_EQ(field.ShieldRight(), nullptr);

    Play()->NextLevel();
    field = Probe();
    EXPECT_EQ(field.Level(), 4);
    EXPECT_TRUE(Shows(field.LevelText(), "4"));
    EXPECT_EQ(field.AirplaneHits(), 100);
    EXPECT_EQ(field.Airplane2Hits(), 100);
    EXPECT_EQ(field.ShieldLeft(), nullptr);
    EXPECT_EQ(field.ShieldRight(), nullptr);

    // Past the last level only the number moves on: no airplane comes into play.
    const AirplaneSprite* first = field.Airplane();
    const AirplaneSprite* second = field.Airplane2();
    Play()->NextLevel();
    field = Probe();
    EXPECT_EQ(field.Level(), 5);
    EXPECT_TRUE(Shows(field.LevelText(), "5"));
    EXPECT_EQ(field.Airplane(), first);
    EXPECT_EQ(field.Airplane2(), second);
    EXPECT_EQ(field.AirplaneHits(), 100);
    EXPECT_EQ(field.Airplane2Hits(), 100);
    EXPECT_EQ(field.Score(), 0);
    EXPECT_EQ(field.Bullets().size(), 1u);
    EXPECT_EQ(field.Bombs().size(), 1u);
}

void FillTheAir(StatePlay& play) {
    for (int i = 0; i < 20; ++i) {
        play.FireBullet(100 + 10 * i, 400);
        play.DropBomb(100 + 10 * i, 100);
    }
}

// The sanitizer build reports anything the screen leaves behind: the sprites, each projectile's
// picture, and the two HUD texts with their fonts and renderings.
TEST_F(PlayField, LeavingTheFieldWithProjectilesInFlightReleasesThemAll) {
    FillTheAir(*Play());
    RunFrames(engine, 3);
    ASSERT_EQ(Probe().Bullets().size(), 20u);
    ASSERT_GE(Probe().Bombs().size(), 20u);
    engine.SetState(new StatePlay(engine.GetAssets()));  // replaced, as by the end of a game
    EXPECT_EQ(Probe().Bullets().size(), 0u);

    // And with the engine itself going down in the middle of a game, as on quitting.
    FillTheAir(*Play());
    engine.RunFrame();
}

}  // namespace
