// The frame update: hits and replacements, the edges of the window, shields, the end of a level
// and of the game, and the draws from rand().
#include <memory>

#include "play/PlayFixture.h"
#include "screens/StateGameOver.h"

namespace {

// Where an airplane stands after its step of the next frame.
int FirstAirplaneXNextFrame(const Sprite& airplane) {
    return airplane.GetPosX() < 650 ? airplane.GetPosX() + 2 : -80;
}
int SecondAirplaneXNextFrame(const Sprite& airplane) {
    return airplane.GetPosX() > -80 ? airplane.GetPosX() - 4 : 650;
}

class PlayUpdate : public PlayField {
  protected:
    // On a fresh field, whether one bullet (or bomb) at (x, y) is stopped in the next frame
    // instead of taking its step.
    bool Stopped(bool bomb, int x, int y) {
        engine.SetState(new StatePlay(engine.GetAssets()));
        if (engine.Names().On()) {
            engine.SetEntername();  // left on by the last game that a bomb ended
        }
        if (bomb) {
            BombAt(x, y);
            Frame();
            if (Play() == nullptr) {
                return true;  // it met the cannon
            }
            const auto& bombs = Probe().Bombs();
            return bombs.empty() || PositionOf(*bombs[0]) != Position(x, y + 5);
        }
        BulletAt(x, y);
        Frame();
        const auto& bullets = Probe().Bullets();
        return bullets.empty() || PositionOf(*bullets[0]) != Position(x, y - 4);
    }
    // Puts a bullet where the first airplane will be after its step, and runs the frame.
    void ShootFirstAirplane() {
        BulletAt(FirstAirplaneXNextFrame(*Probe().Airplane()) + 30, 50);
        Frame();
    }
    void ShootSecondAirplane() {
        BulletAt(SecondAirplaneXNextFrame(*Probe().Airplane2()) + 30, 100);
        Frame();
    }

    RandDraws draws;
};

TEST_F(PlayUpdate, BulletScoresOnceAndTheAirplaneIsBackAtTheEdgeInTheSameFrame) {
    // Two bullets inside the rectangle the airplane will stand in: (-78, 35), 73 by 43.
    BulletAt(-40, 50);
    BulletAt(-40, 50);
    const SDL_Surface* levelShown = Probe().LevelText().GetSurface();
    Frame();

    StatePlayProbe field = Probe();
    EXPECT_EQ(field.Score(), 1);
    EXPECT_EQ(field.AirplaneHits(), 4);
    ASSERT_NE(field.Airplane(), nullptr);
    EXPECT_EQ(PositionOf(*field.Airplane()), Position(-80, 35));
    EXPECT_NE(field.Airplane()->GetImage(), nullptr);
    // The earlier bullet scored and is gone; the later one flew on, one step up.
    ASSERT_EQ(field.Bullets().size(), 1u);
    EXPECT_EQ(PositionOf(*field.Bullets()[0]), Position(-40, 46));
    EXPECT_TRUE(Shows(field.ScoreText(), "1"));
    EXPECT_EQ(field.LevelText().GetSurface(), levelShown);

    // Next frame the new airplane has stepped to -78 and the bullet still stands inside it.
    Frame();
    field = Probe();
    EXPECT_EQ(field.Score(), 2);
    EXPECT_EQ(field.AirplaneHits(), 3);
    EXPECT_EQ(PositionOf(*field.Airplane()), Position(-80, 35));
    EXPECT_TRUE(field.Bullets().empty());
    EXPECT_TRUE(Shows(field.ScoreText(), "2"));
}

// Every target's rectangle up to its edges: the last row and column inside stop the projectile,
// the first ones outside let it pass. Its probe is its top edge, five pixels wide.
TEST_F(PlayUpdate, TargetsStopProjectilesUpToTheLastPixelOfTheirRectangles) {
    const struct {
        const char* target;
        bool bomb;
        int x, y, w, h;  // where the target stands when it is tested, and its size
    } targets[] = {
        {"first airplane, after its first step", false, -78, 35, 73, 43},
        {"left shield, for bullets", false, 10, 350, 95, 12},
        {"left shield, for bombs", true, 10, 350, 95, 12},
        {"cannon", true, 280, 423, 72, 55},
    };
    for (const auto& t : targets) {
        const int midX = t.x + t.w / 2;
        const int midY = t.y + t.h / 2;
        const struct {
            int x, y;
            bool stopped;
        } shots[] = {
            {t.x - 4, midY, true},       {t.x - 5, midY, false},   {t.x + t.w - 1, midY, true},
            {t.x + t.w, midY, false},    {midX, t.y + 1, true},    {midX, t.y, false},
            {midX, t.y + t.h - 1, true}, {midX, t.y + t.h, false},
        };
        for (const auto& shot : shots) {
            EXPECT_EQ(Stopped(t.bomb, shot.x, shot.y), shot.stopped)
                << t.target << ", shot at (" << shot.x << ", " << shot.y << ")";
        }
    }
}

TEST_F(PlayUpdate, SecondAirplaneComesBackFromTheRightAndStaysGoneAfterItsLastHit) {
    Play()->NextLevel();
    ShootSecondAirplane();  // it stood at 746 after its step from 750
    StatePlayProbe field = Probe();
    EXPECT_EQ(field.Score(), 1);
    EXPECT_EQ(field.Airplane2Hits(), 2);
    ASSERT_NE(field.Airplane2(), nullptr);
    EXPECT_EQ(PositionOf(*field.Airplane2()), Position(-80, 80));
    Frame();
    EXPECT_EQ(PositionOf(*Probe().Airplane2()), Position(650, 80));

    ShootSecondAirplane();
    ShootSecondAirplane();
    field = Probe();
    EXPECT_EQ(field.Score(), 3);
    EXPECT_EQ(field.Airplane2Hits(), 0);
    EXPECT_EQ(field.Airplane2(), nullptr);

    // The first airplane flies on alone; the second stays away for the rest of the level.
    const int firstX = field.Airplane()->GetPosX();
    RunFrames(engine, 5);
    field = Probe();
    EXPECT_EQ(field.Airplane2(), nullptr);
    EXPECT_EQ(field.Airplane()->GetPosX(), firstX + 10);
    EXPECT_EQ(field.Level(), 2);
}

TEST_F(PlayUpdate, ProjectilesLeaveAtTheEdgesOfTheWindowInTheFrameTheyPassThem) {
    // The front entries of the lists are swept like any other.
    BulletAt(600, -11);
    BulletAt(600, -10);
    BulletAt(604, -9);
    BombAt(600, 483);
    BombAt(600, 482);
    BombAt(604, 481);
    Frame();

    StatePlayProbe field = Probe();
    ASSERT_EQ(field.Bullets().size(), 2u);
    EXPECT_EQ(PositionOf(*field.Bullets()[0]), Position(600, -14));
    EXPECT_EQ(PositionOf(*field.Bullets()[1]), Position(604, -13));
    ASSERT_GE(field.Bombs().size(), 2u);  // a new bomb from the airplane may follow them
    EXPECT_EQ(PositionOf(*field.Bombs()[0]), Position(600, 487));
    EXPECT_EQ(PositionOf(*field.Bombs()[1]), Position(604, 486));

    Frame();
    field = Probe();
    EXPECT_TRUE(field.Bullets().empty());
    for (const auto& bomb : field.Bombs()) {
        EXPECT_LT(bomb->GetPosY(), 482);
    }
}

TEST_F(PlayUpdate, ShieldsStopBulletsAndBombsAndNeverChange) {
    const Sprite* left = Probe().ShieldLeft();
    const Sprite* right = Probe().ShieldRight();
    const SDL_Surface* leftPicture = left->GetImage();
    // The left shield's rectangle: x from 10 over 95, y from 350 over 12.
    BulletAt(6, 361);    // 0: inside by a pixel at the left and at the bottom
    BulletAt(104, 351);  // 1: inside at the right and at the top
    BulletAt(5, 355);    // 2: its probe ends on the left edge
    BulletAt(105, 355);  // 3: starts on the right edge
    BulletAt(50, 362);   // 4: on the bottom edge, next frame inside
    BulletAt(560, 355);  // 5: inside the right shield
    BombAt(50, 351);     // inside the left shield
    BombAt(600, 361);    // inside the right shield
    BombAt(50, 350);     // on the top edge, next frame inside
    Frame();

    StatePlayProbe field = Probe();
    ASSERT_EQ(field.Bullets().size(), 3u);
    EXPECT_EQ(PositionOf(*field.Bullets()[0]), Position(5, 351));
    EXPECT_EQ(PositionOf(*field.Bullets()[1]), Position(105, 351));
    EXPECT_EQ(PositionOf(*field.Bullets()[2]), Position(50, 358));
    ASSERT_GE(field.Bombs().size(), 1u);
    EXPECT_EQ(PositionOf(*field.Bombs()[0]), Position(50, 355));

    Frame();
    field = Probe();
    ASSERT_EQ(field.Bullets().size(), 2u);  // the two beside the shield fly on
    EXPECT_EQ(field.Bullets()[0]->GetPosX(), 5);
    EXPECT_EQ(field.Bullets()[1]->GetPosX(), 105);
    for (const auto& bomb : field.Bombs()) {
        EXPECT_NE(bomb->GetPosX(), 50);
        EXPECT_NE(bomb->GetPosX(), 600);
    }
    EXPECT_EQ(field.ShieldLeft(), left);
    EXPECT_EQ(field.ShieldRight(), right);
    EXPECT_EQ(PositionOf(*left), Position(10, 350));
    EXPECT_EQ(PositionOf(*right), Position(536, 350));
    EXPECT_EQ(left->GetImage(), leftPicture);
}

TEST_F(PlayUpdate, BombsJustBesideTheCannonFallPastIt) {
    // The cannon's rectangle: x from 280 over 72, y from 423 over 55.
    BombAt(352, 450);  // starts on its right edge
    BombAt(275, 450);  // its probe ends on the left edge
    BombAt(300, 478);  // on the bottom edge
    BombAt(300, 423);  // on the top edge
    Frame();
    ASSERT_NE(Play(), nullptr);
    const auto& bombs = Probe().Bombs();
    EXPECT_EQ(PositionOf(*bombs[0]), Position(352, 455));
    EXPECT_EQ(PositionOf(*bombs[1]), Position(275, 455));
    EXPECT_EQ(PositionOf(*bombs[2]), Position(300, 483));
    EXPECT_EQ(PositionOf(*bombs[3]), Position(300, 428));

    Frame();  // now the last one is inside
    EXPECT_NE(dynamic_cast<StateGameOver*>(engine.GetState()), nullptr);
}

TEST_F(PlayUpdate, BombOnTheCannonEndsTheGameInThatFrameWithTheScoreSoFar) {
    ShootFirstAirplane();
    ShootFirstAirplane();
    ASSERT_EQ(Probe().Score(), 2);

    // Inside by a pixel at the bottom, and a pixel left of the cannon before this frame's keys:
    // the cannon's step comes first and meets it.
    BombAt(274, 477);
    HoldKey(SDLK_LEFT, true);
    Frame();

    auto* gameOver = dynamic_cast<StateGameOver*>(engine.GetState());
    ASSERT_NE(gameOver, nullptr);
    EXPECT_EQ(gameOver->GetScore(), 2);
    EXPECT_TRUE(engine.Names().On());
    EXPECT_TRUE(engine.Names().Typing());
    EXPECT_FALSE(engine.Names().Confirmed());
}

TEST_F(PlayUpdate, ClearingALevelDropsNoBombAndCarriesProjectilesOver) {
    draws.Start();
    for (int hit = 1; hit <= 4; ++hit) {
        ShootFirstAirplane();
    }
    EXPECT_EQ(draws.Count(), 4);  // one a frame for the airplane that comes back each time
    BulletAt(400, 300);
    BombAt(450, 200);
    const std::size_t bombsBefore = Probe().Bombs().size();

    ShootFirstAirplane();  // the last hit of level 1
    StatePlayProbe field = Probe();
    EXPECT_EQ(draws.Count(), 4);
    EXPECT_EQ(field.Level(), 2);
    EXPECT_EQ(field.Score(), 5);
    EXPECT_TRUE(Shows(field.LevelText(), "2"));
    // The new airplanes stand where the level put them: they fly from the next frame.
    EXPECT_EQ(PositionOf(*field.Airplane()), Position(-80, 35));
    EXPECT_EQ(PositionOf(*field.Airplane2()), Position(750, 80));
    ASSERT_EQ(field.Bombs().size(), bombsBefore);
    EXPECT_EQ(PositionOf(*field.Bombs().back()), Position(450, 205));
    ASSERT_FALSE(field.Bullets().empty());
    EXPECT_EQ(PositionOf(*field.Bullets().back()), Position(400, 296));

    Frame();
    EXPECT_EQ(draws.Count(), 6);  // two airplanes from now on
    EXPECT_EQ(PositionOf(*Probe().Airplane2()), Position(746, 80));
}

TEST_F(PlayUpdate, RandIsDrawnOncePerAirplaneInPlayAndFrame) {
    draws.Start();
    RunFrames(engine, 10);
    EXPECT_EQ(draws.Count(), 10);

    Play()->NextLevel();
    draws.Start();
    RunFrames(engine, 10);
    EXPECT_EQ(draws.Count(), 20);

    // An airplane shot down with hit points left is back before the draws; after its last
    // hit it draws no more.
    draws.Start();
    ShootFirstAirplane();
    ShootFirstAirplane();
    EXPECT_EQ(draws.Count(), 4);
    ShootFirstAirplane();
    EXPECT_EQ(Probe().Airplane(), nullptr);
    EXPECT_EQ(draws.Count(), 5);
    RunFrames(engine, 10);
    EXPECT_EQ(draws.Count(), 15);
}

TEST_F(PlayUpdate, BombsFallFromTheAirplanesWhoseDrawIsOne) {
    // On level 2 a bomb falls when the draw modulo 10 is 1; the first airplane draws first.
    Play()->NextLevel();
    std::srand(1);
    std::vector<bool> drops;
    for (int i = 0; i < 100; ++i) {
        drops.push_back(std::rand() % 10 == 1);
    }
    std::srand(1);
    int firstX = -80;
    int secondX = 750;
    int dropped = 0;
    // Fifty frames: no bomb reaches a shield, the cannon or the bottom edge in that time.
    for (std::size_t frame = 0; frame < 50; ++frame) {
        firstX += 2;
        secondX -= 4;
        std::size_t next = Probe().Bombs().size();
        Frame();
        const auto& bombs = Probe().Bombs();
        for (std::size_t which = 0; which < 2; ++which) {
            if (!drops[2 * frame + which]) {
                continue;
            }
            // 38 right of the airplane and 35 below it, then one step down in the same frame.
            const Position at = which == 0 ? Position(firstX + 38, 35 + 35 + 5)
                                           : Position(secondX + 38, 80 + 35 + 5);
            ASSERT_LT(next, bombs.size()) << "frame " << frame;
            EXPECT_EQ(PositionOf(*bombs[next]), at) << "frame " << frame;
            ++next;
            ++dropped;
        }
        ASSERT_EQ(bombs.size(), next) << "frame " << frame;
    }
    EXPECT_GE(dropped, 5);
}

}  // namespace
