#pragma once

// A simple policy that clears all four levels: fire in every frame, stand where the bullets meet
// the airplanes coming back in, and step aside from falling bombs.
#include <algorithm>
#include <array>
#include <bitset>
#include <cstdlib>

#include "gfx/BombSprite.h"
#include "gfx/PlayerSprite.h"
#include "play/PlayRules.h"
#include "play/StatePlayProbe.h"

namespace aim_and_dodge {

// Where the cannon stands all game, firing in every frame. Its bullets meet the first airplane
// about as soon after it comes back in from the left as the second one coming back from the
// right, so each is shot down before it flies over the cannon; and no shield is in the way.
constexpr int kAimingSpot = 178;

// The rules the policy plans with are the game's own.
constexpr int kCannonY = play::kCannonStart.y;
constexpr int kCannonW = play::kCannonTarget.w;
constexpr int kCannonH = play::kCannonTarget.h;
constexpr int kCannonStep = PlayerSprite::kStep;
constexpr int kCannonLeftmost = -2;
constexpr int kCannonRightmost = 595;
constexpr int kBombStep = BombSprite::kStep;
constexpr int kHorizon = 72;  // frames of bomb fall looked ahead

inline bool StoppedByShield(const Sprite* shield, const Sprite& bomb) {
    // A bomb still above the shield's solid rows will be stopped there too.
    return shield != nullptr && bomb.GetPosY() < shield->GetPosY() + play::kShieldTarget.h &&
           bomb.GetPosX() + 5 > shield->GetPosX() &&
           bomb.GetPosX() < shield->GetPosX() + play::kShieldTarget.w;
}

constexpr int kSlots = (kCannonRightmost - kCannonLeftmost) / kCannonStep + 1;
using Slots = std::bitset<kSlots>;  // one bit for each x the cannon can stand at

inline int SlotX(int slot) {
    return kCannonLeftmost + slot * kCannonStep;
}

// For each of the frames to come, the places where a cannon would meet a bomb already falling;
// bombs dropped from now on cannot reach it within the horizon.
inline std::array<Slots, kHorizon + 2> BombHits(const StatePlayProbe& field) {
    std::array<Slots, kHorizon + 2> hit{};
    for (const auto& bomb : field.Bombs()) {
        if (StoppedByShield(field.ShieldLeft(), *bomb) ||
            StoppedByShield(field.ShieldRight(), *bomb)) {
            continue;
        }
        const int bx = bomb->GetPosX();
        const int firstSlot = std::max(0, (bx - kCannonW - kCannonLeftmost) / kCannonStep - 1);
        for (int t = 1; t <= kHorizon; ++t) {
            // Tested where it stands at the start of that frame's bomb phase.
            const int by = bomb->GetPosY() + kBombStep * (t - 1);
            if (by <= kCannonY || by >= kCannonY + kCannonH) {
                continue;
            }
            for (int slot = firstSlot; slot < kSlots && SlotX(slot) < bx + 5; ++slot) {
                if (bx < SlotX(slot) + kCannonW) {
                    hit[t].set(static_cast<std::size_t>(slot));
                }
            }
        }
    }
    return hit;
}

enum class Step { Stay, Left, Right };

// A step toward the aiming spot along a path that no falling bomb can reach within the horizon.
inline Step ChooseStep(const StatePlayProbe& field) {
    const auto hit = BombHits(field);
    // Where the cannon can stand in a frame and still last out the horizon from there.
    Slots safe;
    safe.set();
    for (int t = kHorizon; t >= 1; --t) {
        safe = (safe | (safe << 1) | (safe >> 1)) & ~hit[t];
    }
    const int x = field.Player()->GetPosX();
    Step best = Step::Stay;
    int bestDistance = kSlots * kCannonStep;
    for (Step step : {Step::Stay, Step::Left, Step::Right}) {
        const int next = step == Step::Left    ? x - kCannonStep
                         : step == Step::Right ? x + kCannonStep
                                               : x;
        if (next < kCannonLeftmost || next > kCannonRightmost ||
            !safe.test(static_cast<std::size_t>((next - kCannonLeftmost) / kCannonStep))) {
            continue;
        }
        const int distance = std::abs(next - kAimingSpot);
        if (distance < bestDistance) {
            best = step;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace aim_and_dodge
