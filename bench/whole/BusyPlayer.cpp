#include "BusyPlayer.h"

#include <X11/keysym.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr auto kGrabEvery = 3ms;
constexpr auto kShotEvery = 200ms;  // a player's thumb, not a machine gun
constexpr auto kStartTimeout = 5s;
constexpr auto kGameTimeout = 300s;
constexpr int kBusyFromLevel = 2;  // two airplanes from here on

}  // namespace

BusyPlayer::BusyPlayer(GameWindow& window, const std::atomic<bool>& stop)
    : window(window), stop(stop) {}

BusyPlayer::Outcome BusyPlayer::Play() {
    Picture previous;
    Picture picture;
    const Clock::time_point began = Clock::now();
    bool started = false;
    window.Tap(XK_Return);
    while (true) {
        const Clock::time_point now = Clock::now();
        if (now - began > (started ? kGameTimeout : kStartTimeout)) {
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
        const Field field = reader.Read(picture);
        if (!field.playing) {
            if (!started) {
                continue;
            }
            window.ReleaseAll();
            std::printf("over\n");
            std::fflush(stdout);
            return levelShown >= kBusyFromLevel ? Outcome::Ended : Outcome::LostEarly;
        }
        started = true;
        Step(field, now);
    }
}

void BusyPlayer::Step(const Field& field, Clock::time_point now) {
    if (field.level > levelShown) {
        levelShown = field.level;
        if (levelShown >= kBusyFromLevel) {
            std::printf("level %d\n", levelShown);
            std::fflush(stdout);
        }
    }
    if (stop) {
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
        return;
    }
    Steer(dodger.Direction(field, gunner.AimX(field), HeldStep()));
    // Level 1 is cleared with aimed shots; from level 2 on the cannon keeps firing, so that
    // bullets are always in the air while the field is measured.
    const bool fire = levelShown >= kBusyFromLevel ? Gunner::ClearOfShields(field, field.cannonX)
                                                   : gunner.ShotHits(field, HeldStep());
    if (fire && now - lastShot > kShotEvery) {
        window.Tap(XK_space);
        lastShot = now;
    }
}

void BusyPlayer::Steer(int direction) {
    // Let go of one arrow before pressing the other: both held stand still.
    window.Hold(direction < 0 ? XK_Right : XK_Left, false);
    if (direction != 0) {
        window.Hold(direction < 0 ? XK_Left : XK_Right, true);
    } else {
        window.Hold(XK_Left, false);
    }
    heldDirection = direction;
}

int BusyPlayer::HeldStep() const {
    return heldDirection * facts::kCannonStep;
}
