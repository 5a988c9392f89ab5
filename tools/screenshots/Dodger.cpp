#include "Dodger.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "GameFacts.h"

namespace {

constexpr int kLookAheadFrames = 100;
constexpr int kFewestFramesToKey = 1;
constexpr int kMostFramesToKey = 2;
constexpr int kMargin = 3;  // pixels of room on top of the exact hit rectangle

// A bomb is tested against the cannon while its top is between these rows, a few pixels wider
// than exact because the grab shows a bomb's fins and not its corner.
constexpr int kDangerTop = facts::kCannonY - 3;
constexpr int kDangerBottom = facts::kCannonY + facts::kCannonHeight + 3;

// A bomb still above this row may yet be stopped by a shield.
constexpr int kShieldCatchesAbove = facts::kShieldY + facts::kShieldHeight - facts::kBombStep - 2;

bool StoppedByShield(const Field& field, const SeenBomb& bomb) {
    if (bomb.y > kShieldCatchesAbove) {
        return false;
    }
    for (int shield : field.shields) {
        if (bomb.x.lo + facts::kBombWidth > shield && bomb.x.hi < shield + facts::kShieldWidth) {
            return true;
        }
    }
    return false;
}

int Clamp(int x) {
    return std::clamp(x, facts::kCannonMinX, facts::kCannonMaxX);
}

// Where the cannon stands `frames` frames from now if the new key takes effect after `delay`.
int CannonAt(int start, int destination, int heldStep, int delay, int frames) {
    const int coasting = std::min(frames, delay - 1);
    int x = Clamp(start + heldStep * coasting);
    const int moving = frames - coasting;
    const int distance = destination - x;
    const int travel = std::min(std::abs(distance), facts::kCannonStep * moving);
    return Clamp(x + (distance < 0 ? -travel : travel));
}

}  // namespace

int Dodger::FirstHit(const Field& field, int destination, int heldStep) const {
    int first = 0;
    for (const SeenBomb& bomb : field.bombs) {
        if (StoppedByShield(field, bomb)) {
            continue;
        }
        for (int frame = 1; frame <= kLookAheadFrames; ++frame) {
            const int bombY = bomb.y + facts::kBombStep * (frame - 1);
            if (bombY > kDangerBottom) {
                break;
            }
            if (bombY < kDangerTop) {
                continue;
            }
            int lo = INT_MAX;
            int hi = INT_MIN;
            for (int delay = kFewestFramesToKey; delay <= kMostFramesToKey; ++delay) {
                const int x = CannonAt(field.cannonX, destination, heldStep, delay, frame);
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
            // The key is let go a frame late as often as it is pressed late.
            lo -= facts::kCannonStep;
            hi += facts::kCannonStep;
            if (bomb.x.lo < hi + facts::kCannonWidth + kMargin &&
                bomb.x.hi > lo - facts::kBombWidth - kMargin) {
                if (first == 0 || frame < first) {
                    first = frame;
                }
                break;
            }
        }
    }
    return first;
}

int Dodger::Direction(const Field& field, int wantedX, int heldStep) const {
    if (!field.cannonSeen) {
        return 0;
    }
    int bestCost = INT_MAX;
    int best = field.cannonX;
    for (int destination = facts::kCannonMinX; destination <= facts::kCannonMaxX;
         destination += facts::kCannonStep) {
        const int hit = FirstHit(field, destination, heldStep);
        const int distance = std::abs(destination - wantedX);
        // Any safe road beats every unsafe one; of the unsafe, the one hit latest leaves the
        // most time to find a better one.
        const int cost = hit == 0 ? distance : 1000000 - 1000 * hit + distance;
        if (cost < bestCost) {
            bestCost = cost;
            best = destination;
        }
    }
    if (std::abs(best - field.cannonX) < facts::kCannonStep) {
        return 0;
    }
    return best < field.cannonX ? -1 : 1;
}

bool Dodger::InDanger(const Field& field, int heldStep) const {
    return field.cannonSeen && FirstHit(field, field.cannonX, heldStep) != 0;
}
