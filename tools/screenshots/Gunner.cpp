#include "Gunner.h"

#include <climits>
#include <cstdlib>
#include <utility>

#include "GameFacts.h"

namespace {

// Frames between the grab and the frame whose update takes the key.
constexpr int kFewestFramesToKey = 1;
constexpr int kMostFramesToKey = 3;
constexpr int kMostBulletFrames = 110;

// Where a cannon leads an airplane: the bullet is placed so that it rises into the middle of the
// airplane, with the airplane's flight during the key's delay and the bullet's climb added.
constexpr int kTypicalFramesToKey = 2;
constexpr int kRedClimbFrames = 88;   // from 420 to just under the red airplane's belly
constexpr int kBlueClimbFrames = 77;  // the same for the blue one, lower down
constexpr int kMiddleOffset =
    (facts::kAirplaneWidth - facts::kProbeWidth) / 2 - facts::kBulletFromCannonX;

constexpr int LeadOf(const facts::AirplaneKind& kind, int climbFrames) {
    return kind.step * (kTypicalFramesToKey + climbFrames) + kMiddleOffset;
}

// Where the cannon waits for the red airplane to come round again.
constexpr int kRedEntersAt = -facts::kRedAirplane.mark.right;

}  // namespace

bool Gunner::ClearOfShields(const Field& field, int cannonX) {
    const int bulletX = cannonX + facts::kBulletFromCannonX;
    for (int shield : field.shields) {
        if (bulletX + facts::kProbeWidth > shield && bulletX < shield + facts::kShieldWidth) {
            return false;
        }
    }
    return cannonX >= 0 && cannonX <= facts::kCannonMaxX - facts::kCannonStep;
}

int Gunner::AimX(const Field& field) const {
    const int redLead = LeadOf(facts::kRedAirplane, kRedClimbFrames);
    int wanted = kRedEntersAt + redLead;
    if (field.red.visible && ClearOfShields(field, field.red.x + redLead)) {
        wanted = field.red.x + redLead;
    } else if (field.blue.visible) {
        const int blueLead = LeadOf(facts::kBlueAirplane, kBlueClimbFrames);
        if (ClearOfShields(field, field.blue.x + blueLead)) {
            wanted = field.blue.x + blueLead;
        }
    }
    // Stand at the nearest place the shields leave open.
    for (int offset = 0; offset < facts::kWindowWidth; ++offset) {
        for (int candidate : {wanted + offset, wanted - offset}) {
            if (ClearOfShields(field, candidate)) {
                return candidate;
            }
        }
    }
    return wanted;
}

bool Gunner::ShotHits(const Field& field, int cannonStep) const {
    if (!field.cannonSeen) {
        return false;
    }
    for (int frames = kFewestFramesToKey; frames <= kMostFramesToKey; ++frames) {
        const int cannonX = field.cannonX + cannonStep * (frames - 1);
        if (!Meets(field, cannonX + facts::kBulletFromCannonX, frames)) {
            return false;
        }
    }
    return true;
}

bool Gunner::Meets(const Field& field, int bulletX, int framesUntilFired) {
    // The bullet is tested where it stands before each step, against the airplanes after theirs.
    for (int climbed = 0; climbed < kMostBulletFrames; ++climbed) {
        const int bulletY = facts::kBulletStartY - facts::kBulletStep * climbed;
        for (int shield : field.shields) {
            if (bulletY > facts::kShieldY && bulletY < facts::kShieldY + facts::kShieldHeight &&
                bulletX + facts::kProbeWidth > shield && bulletX < shield + facts::kShieldWidth) {
                return false;
            }
        }
        const int frames = framesUntilFired + climbed;
        const std::pair<const SeenAirplane*, const facts::AirplaneKind*> airplanes[] = {
            {&field.red, &facts::kRedAirplane}, {&field.blue, &facts::kBlueAirplane}};
        for (const auto& [seen, kind] : airplanes) {
            if (!seen->visible) {
                continue;
            }
            const int x = seen->x + kind->step * frames;
            // Past its wrap the airplane is somewhere else entirely.
            if (x > facts::kAirplaneWrapRight + std::abs(kind->step) ||
                x <= facts::kAirplaneWrapLeft - std::abs(kind->step)) {
                continue;
            }
            if (bulletY > kind->y && bulletY < kind->y + facts::kAirplaneHeight &&
                bulletX + facts::kProbeWidth > x && bulletX < x + facts::kAirplaneWidth) {
                return true;
            }
        }
    }
    return false;
}

int Gunner::BombToMeet(const Field& field) {
    int best = INT_MIN;
    int soonest = INT_MAX;
    for (const SeenBomb& bomb : field.bombs) {
        const int x = (bomb.x.lo + bomb.x.hi) / 2;
        const int framesLeft = (facts::kCannonY - bomb.y) / facts::kBombStep;
        const int framesNeeded =
            std::abs(x - facts::kBulletFromCannonX - field.cannonX) / facts::kCannonStep + 2;
        bool overShield = false;
        for (int shield : field.shields) {
            overShield =
                overShield || (bomb.y < facts::kShieldY && x + facts::kBombWidth > shield &&
                               x < shield + facts::kShieldWidth);
        }
        if (!overShield && framesNeeded <= framesLeft && framesLeft < soonest) {
            soonest = framesLeft;
            best = x;
        }
    }
    return best;
}
