#include "Player.h"

#include <X11/keysym.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

namespace {

using namespace std::chrono_literals;

constexpr auto kGrabEvery = 3ms;
constexpr auto kShotEvery = 200ms;       // a player's thumb, not a machine gun
constexpr auto kCoverFireEvery = 600ms;  // in level 2, keep something in the air for the picture
constexpr auto kMenuTimeout = 5s;
constexpr auto kClearingTimeout = 240s;
constexpr auto kLosingTimeout = 60s;

// Frames of level 2 after which a moment with less going on will do.
constexpr long kPatientFrames = 250;

// A lively moment of level 2: both airplanes wholly in the window and well apart, the red one
// clear of the edge it came in by, a bomb on its way down and a bullet on its way up.
constexpr int kWholeAirplaneMaxX = facts::kWindowWidth - facts::kAirplaneWidth;
constexpr int kRedInFrom = 100;
constexpr int kAirplanesApart = 150;
constexpr int kBombShowsFrom = 130;
constexpr int kBombShowsTo = 330;
constexpr int kBulletShowsFrom = 120;
constexpr int kBulletShowsTo = 380;

bool Whole(const SeenAirplane& airplane) {
    return airplane.visible && airplane.x >= 0 && airplane.x <= kWholeAirplaneMaxX;
}

}  // namespace

Player::Player(GameWindow& window, std::string levelTwoShot)
    : window(window), levelTwoShot(std::move(levelTwoShot)) {}

Player::Outcome Player::Play() {
    Picture previous;
    Picture picture;
    stageBegan = Clock::now();
    window.Tap(XK_Return);
    while (true) {
        const Clock::time_point now = Clock::now();
        const auto timeout = stage == Stage::Starting ? kMenuTimeout
                             : stage == Stage::Losing ? kLosingTimeout
                                                      : kClearingTimeout;
        if (now - stageBegan > timeout) {
            std::fprintf(stderr, "player: timed out after %ld frames\n", frames);
            window.ReleaseAll();
            return Outcome::TimedOut;
        }
        if (!window.Grab(picture)) {
            return Outcome::WindowGone;
        }
        if (picture.SameAs(previous)) {
            std::this_thread::sleep_for(kGrabEvery);
            continue;
        }
        previous = picture;
        ++frames;
        const Field field = reader.Read(picture);
        if (!Step(field, picture, now)) {
            window.ReleaseAll();
            return saved ? Outcome::Shot : Outcome::Lost;
        }
    }
}

bool Player::Step(const Field& field, const Picture& picture, Clock::time_point now) {
    if (stage == Stage::Starting) {
        if (field.playing) {
            std::fprintf(stderr, "player: the game is on\n");
            stage = Stage::Clearing;
            stageBegan = now;
        }
        return true;
    }
    if (!field.playing) {
        std::fprintf(stderr, "player: game over after %ld frames\n", frames);
        return false;
    }
    if (stage == Stage::Clearing && field.level >= 2) {
        std::fprintf(stderr, "player: level %d after %ld frames\n", field.level, frames);
        stage = Stage::Posing;
        stageBegan = now;
    }
    if (stage == Stage::Posing) {
        ++levelTwoFrames;
        if (WorthAPicture(field)) {
            if (!picture.SavePpm(levelTwoShot)) {
                std::fprintf(stderr, "player: cannot write %s\n", levelTwoShot.c_str());
                return false;
            }
            std::fprintf(stderr,
                         "player: level 2 saved after %ld frames of it: %zu bombs, %zu bullets\n",
                         levelTwoFrames, field.bombs.size(), field.bullets.size());
            saved = true;
            stage = Stage::Losing;
            stageBegan = now;
        }
    }

    if (stage == Stage::Losing) {
        // Stand under the bomb that can be reached first; with none about, under the airplane.
        const int bombX = Gunner::BombToMeet(field);
        int wanted = field.cannonX;
        if (bombX != INT_MIN) {
            wanted = bombX - facts::kBulletFromCannonX;
        } else if (field.red.visible) {
            wanted = field.red.x + facts::kBombFromAirplaneX - facts::kBulletFromCannonX;
        }
        const int gap = wanted - field.cannonX;
        Steer(std::abs(gap) < facts::kCannonStep ? 0 : (gap < 0 ? -1 : 1));
        return true;
    }

    Steer(dodger.Direction(field, gunner.AimX(field), HeldStep()));
    const bool onTarget = gunner.ShotHits(field, HeldStep());
    const bool coverFire = stage == Stage::Posing && field.bullets.empty() &&
                           now - lastShot > kCoverFireEvery &&
                           Gunner::ClearOfShields(field, field.cannonX);
    if ((onTarget || coverFire) && now - lastShot > kShotEvery) {
        Fire(now);
    }
    return true;
}

bool Player::WorthAPicture(const Field& field) const {
    if (field.level != 2 || !field.cannonSeen || !Whole(field.red) || !Whole(field.blue)) {
        return false;
    }
    const bool patient = levelTwoFrames <= kPatientFrames;
    if (patient &&
        (field.red.x < kRedInFrom || std::abs(field.blue.x - field.red.x) < kAirplanesApart)) {
        return false;
    }
    bool bombInFlight = false;
    for (const SeenBomb& bomb : field.bombs) {
        bombInFlight = bombInFlight || (bomb.y >= kBombShowsFrom && bomb.y <= kBombShowsTo);
    }
    bool bulletInFlight = false;
    for (const SeenBullet& bullet : field.bullets) {
        bulletInFlight =
            bulletInFlight || (bullet.y >= kBulletShowsFrom && bullet.y <= kBulletShowsTo);
    }
    return patient ? bombInFlight && bulletInFlight : bombInFlight || bulletInFlight;
}

void Player::Steer(int direction) {
    // Let go of one arrow before pressing the other: both held stand still.
    window.Hold(direction < 0 ? XK_Right : XK_Left, false);
    if (direction != 0) {
        window.Hold(direction < 0 ? XK_Left : XK_Right, true);
    } else {
        window.Hold(XK_Left, false);
    }
    heldDirection = direction;
}

void Player::Fire(Clock::time_point now) {
    window.Tap(XK_space);
    lastShot = now;
}
