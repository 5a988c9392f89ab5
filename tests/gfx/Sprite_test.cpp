#include "gfx/Sprite.h"

#include <gtest/gtest.h>

#include <memory>

#include "gfx/AirplaneSprite.h"
#include "gfx/BombSprite.h"
#include "gfx/BulletSprite.h"
#include "gfx/PlayerSprite.h"

namespace {

struct ProbeCase {
    int sx, sy;
    bool hits;
};

TEST(CollisionCheck, ProbeMustLieStrictlyInsideOnEveryEdge) {
    // Target rectangle: (100, 200), 73 wide, 43 high.
    const ProbeCase cases[] = {
        {120, 220, true}, {120, 200, false},  // top edge of the probe on the target's top
        {120, 201, true}, {120, 243, false},  // at y + h
        {120, 242, true}, {95, 220, false},   // sx + 5 equals x
        {96, 220, true},  {173, 220, false},  // sx equals x + w
        {172, 220, true}, {-1000, -1000, false},
    };
    for (const ProbeCase& c : cases) {
        Sprite probe;
        probe.SetPos(c.sx, c.sy);
        EXPECT_EQ(probe.CollisionCheck(100, 200, 73, 43), c.hits) << c.sx << "," << c.sy;
    }
}

TEST(CannonSteps, BoundsAreTestedBeforeTheStep) {
    PlayerSprite cannon;
    cannon.SetPos(0, 423);
    cannon.MoveLeft();
    EXPECT_EQ(cannon.GetPosX(), 0);
    cannon.SetPos(1, 423);
    cannon.MoveLeft();
    EXPECT_EQ(cannon.GetPosX(), -2);
    cannon.SetPos(593, 423);
    cannon.MoveRight();
    EXPECT_EQ(cannon.GetPosX(), 596);
    cannon.SetPos(594, 423);
    cannon.MoveRight();
    EXPECT_EQ(cannon.GetPosX(), 594);
    EXPECT_EQ(cannon.GetPosY(), 423);

    // Held from the start at 280, the cannon stops at -2 after 94 steps.
    cannon.SetPos(280, 423);
    for (int i = 0; i < 94; ++i) {
        cannon.MoveLeft();
    }
    EXPECT_EQ(cannon.GetPosX(), -2);
    cannon.MoveLeft();
    EXPECT_EQ(cannon.GetPosX(), -2);
    // Both arrows: the left step is refused at -2, so the right one wins once.
    cannon.MoveLeft();
    cannon.MoveRight();
    EXPECT_EQ(cannon.GetPosX(), 1);
    cannon.MoveLeft();
    cannon.MoveRight();
    EXPECT_EQ(cannon.GetPosX(), 1);
}

TEST(AirplaneSteps, FlyAgainstTheirNamesAndWrapInsteadOfStepping) {
    AirplaneSprite plane;
    plane.SetPos(-80, 80);
    plane.MoveRight();
    EXPECT_EQ(plane.GetPosX(), 650);
    plane.SetPos(-79, 80);
    plane.MoveRight();
    EXPECT_EQ(plane.GetPosX(), -83);
    plane.SetPos(649, 35);
    plane.MoveLeft();
    EXPECT_EQ(plane.GetPosX(), 651);
    plane.SetPos(650, 35);
    plane.MoveLeft();
    EXPECT_EQ(plane.GetPosX(), -80);
    EXPECT_EQ(plane.GetPosY(), 35);

    // A full pass to the right: 365 steps from -80 reach 650, the 366th wraps.
    plane.SetPos(-80, 35);
    for (int i = 0; i < 365; ++i) {
        plane.MoveLeft();
    }
    EXPECT_EQ(plane.GetPosX(), 650);
    plane.MoveLeft();
    EXPECT_EQ(plane.GetPosX(), -80);

    // The second airplane's entry from 750: -82 after 208 steps, 650 at the 209th.
    plane.SetPos(750, 80);
    for (int i = 0; i < 208; ++i) {
        plane.MoveRight();
    }
    EXPECT_EQ(plane.GetPosX(), -82);
    plane.MoveRight();
    EXPECT_EQ(plane.GetPosX(), 650);
    EXPECT_EQ(plane.GetPosY(), 80);
}

TEST(ProjectileSteps, MoveWithoutBoundsAndKeepTheOtherCoordinate) {
    BulletSprite bullet;
    bullet.SetPos(313, -8);
    bullet.MoveUp();
    EXPECT_EQ(bullet.GetPosX(), 313);
    EXPECT_EQ(bullet.GetPosY(), -12);
    bullet.MoveDown();
    bullet.MoveLeft();
    bullet.MoveRight();
    EXPECT_EQ(bullet.GetPosY(), -12);

    BombSprite bomb;
    bomb.SetPos(138, 480);
    bomb.MoveDown();
    EXPECT_EQ(bomb.GetPosX(), 138);
    EXPECT_EQ(bomb.GetPosY(), 485);
    bomb.MoveUp();
    EXPECT_EQ(bomb.GetPosY(), 485);
}

TEST(RemovalMark, TogglesOnProjectilesAndIsNeverSetOnOtherSprites) {
    std::unique_ptr<Sprite> projectiles[] = {std::make_unique<BulletSprite>(),
                                             std::make_unique<BombSprite>()};
    for (auto& projectile : projectiles) {
        EXPECT_FALSE(projectile->GetDel());
        projectile->SetDel();
        EXPECT_TRUE(projectile->GetDel());
        projectile->SetDel();
        EXPECT_FALSE(projectile->GetDel());
    }
    std::unique_ptr<Sprite> others[] = {std::make_unique<Sprite>(),
                                        std::make_unique<PlayerSprite>(),
                                        std::make_unique<AirplaneSprite>()};
    for (auto& other : others) {
        other->SetDel();
        EXPECT_FALSE(other->GetDel());
    }
}

}  // namespace
