#pragma once

// Every fixed number of the play screen. The speeds of the moving things stand beside their own
// sprite kinds in gfx/.

#include "gfx/AirplaneSprite.h"

namespace play {

struct Point {
    int x;
    int y;
};

// A target as the hit tests see it: its position's corner plus this much to the right and down.
struct Extent {
    int w;
    int h;
};

// Pictures. Every sprite loads its own copy, so nothing here is shared or cached.
constexpr const char* kBackgroundPicture = "bg.png";
constexpr const char* kCannonPicture = "canon.png";
constexpr const char* kAirplanePicture = "airplane.png";
constexpr const char* kAirplane2Picture = "airplane2.png";
constexpr const char* kShieldPicture = "shield.png";
constexpr const char* kBulletPicture = "bullet.png";
constexpr const char* kBombPicture = "bomb.png";

// Where things stand when level 1 begins.
constexpr Point kBackgroundAt = {0, 0};
constexpr Point kCannonStart = {280, 423};
constexpr Point kShieldLeftStart = {10, 350};
constexpr Point kShieldRightStart = {536, 350};

// Just outside the window's left edge, where an airplane flying left wraps round.
constexpr int kLeftOfWindowX = AirplaneSprite::kLeftWrapX;

// The first airplane always comes in from the left, at a new level and after every hit.
constexpr Point kAirplaneStart = {kLeftOfWindowX, 35};
// The second airplane of a new level starts well beyond the right edge and flies in from there.
constexpr Point kAirplane2LevelStart = {750, 80};
// A replacement second airplane waits just left of the window; its first step wraps it round to
// the right edge, so it comes back from the right as well.
constexpr Point kAirplane2Replacement = {kLeftOfWindowX, 80};

// HUD: the bare numbers, top left corners.
constexpr Point kLevelTextAt = {290, 11};
constexpr Point kScoreTextAt = {520, 11};

// Target rectangles of the hit tests. Only the projectile's probe takes part from its side.
constexpr Extent kAirplaneTarget = {73, 43};
constexpr Extent kShieldTarget = {95, 12};
constexpr Extent kCannonTarget = {72, 55};

// A bullet above this y has left the window at the top, a bomb below this one at the bottom.
constexpr int kBulletGoneAboveY = -10;
constexpr int kBombGoneBelowY = 482;

// Where a projectile starts, from the top left corner of what fires or drops it.
constexpr Point kBulletFromCannon = {33, -3};
constexpr Point kBombFromAirplane = {38, 35};

// One bomb in (numerator / level) per airplane and frame: 20, 10, 6 and 5 on levels 1 to 4.
constexpr int kBombChanceNumerator = 20;
// The draw that drops a bomb.
constexpr int kBombDraw = 1;

constexpr int kPointsPerHit = 1;

constexpr int kFirstLevel = 1;
constexpr int kFirstLevelAirplaneHits = 5;
constexpr int kFirstLevelAirplane2Hits = 0;
// The highest level that is played; clearing it ends the game.
constexpr int kLastLevel = 4;

// What becomes of the first shield when a level begins; the second one is gone from level 2 on.
struct ShieldPlan {
    bool kept;
    Point at;
};

// Hit points and shields for each level after the first.
struct LevelSetup {
    int airplaneHits;
    int airplane2Hits;
    ShieldPlan shieldLeft;
    bool keepShieldRight;
};

constexpr LevelSetup kLevels[] = {
    /* level 2 */ {3, 3, {true, {270, 350}}, false},
    /* level 3 */ {6, 6, {true, {536, 350}}, false},
    /* level 4 */ {100, 100, {false, {0, 0}}, false},
};
static_assert(sizeof(kLevels) / sizeof(kLevels[0]) == kLastLevel - kFirstLevel,
              "one setup for every level after the first");

// The setup of a level from 2 to kLastLevel.
constexpr const LevelSetup& SetupForLevel(int level) {
    return kLevels[level - kFirstLevel - 1];
}

}  // namespace play
