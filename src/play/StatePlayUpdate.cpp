// The play screen's frame update: seven phases, always in this order.
#include <memory>
#include <vector>

#include "engine/ScreenEngine.h"
#include "play/PlaceSprite.h"
#include "play/PlayRules.h"
#include "play/StatePlay.h"
#include "screens/StateGameOver.h"

using namespace play;

namespace {

// Whether the projectile's probe lies inside the target's rectangle. Taken as its own kind, which
// nothing derives from, so that the test is no call through the table.
template <typename Projectile>
bool Hits(Projectile& projectile, const Sprite& target, Extent extent) {
    return projectile.CollisionCheck(target.GetPosX(), target.GetPosY(), extent.w, extent.h);
}

template <typename Projectile>
bool HitsShield(Projectile& projectile, const std::unique_ptr<Sprite>& shield) {
    return shield != nullptr && Hits(projectile, *shield, kShieldTarget);
}

// Destroys every marked projectile and erases its entry; the rest keep their order.
template <typename Kind>
void SweepMarked(std::vector<std::unique_ptr<Kind>>& list) {
    // Walk backwards so erasing an entry never shifts one we have yet to visit.
    for (std::size_t j = list.size(); j-- > 0;) {
        if (list[j]->GetDel()) {
            list[j].reset();
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(j));
        }
    }
}

}  // namespace

// The order is the game: bullets meet the airplanes after their step, a shot-down airplane is
// back before anyone draws for its bombs, and a bomb meets the cannon after this frame's keys.
void StatePlay::MoveSprites() {
    FlyAirplanes();
    ShootBullets();
    SweepMarked(bullets);
    ReplaceShotDownAirplanes();
    if (FieldCleared()) {
        if (level > kLastLevel) {
            EndGame();
            return;
        }
        PlaySound(Effect::LevelCleared);
        NextLevel();
    } else {
        DropBombsAtRandom();
    }
    if (BombsFall()) {
        PlaySound(Effect::CannonDestroyed);
        EndGame();
        return;
    }
    SweepMarked(bombs);
}

void StatePlay::FlyAirplanes() {
    if (airplaneHits > 0 && airplane != nullptr) {
        airplane->MoveLeft();  // the first airplane's MoveLeft carries it to the right
    }
    if (airplane2Hits > 0 && airplane2 != nullptr) {
        airplane2->MoveRight();  // and the second one's MoveRight to the left
    }
}

void StatePlay::ShootBullets() {
    const std::size_t count = bullets.size();
    for (std::size_t i = 0; i < count; ++i) {
        BulletSprite& bullet = *bullets[i];
        if (bullet.GetPosY() < kBulletGoneAboveY) {
            bullet.SetDel();
        }
        // Tested where it stood, against the airplanes after their step; it moves only if
        // nothing stopped it. A hit airplane is gone for the bullets after this one.
        bool stopped = false;
        if (airplane != nullptr && Hits(bullet, *airplane, kAirplaneTarget)) {
            airplane.reset();
            --airplaneHits;
            ScoreHit();
            SoundHit(airplaneHits);
            stopped = true;
        }
        if (airplane2 != nullptr && Hits(bullet, *airplane2, kAirplaneTarget)) {
            airplane2.reset();
            --airplane2Hits;
            ScoreHit();
            SoundHit(airplane2Hits);
            stopped = true;
        }
        const bool hitShieldLeft = HitsShield(bullet, shieldLeft);
        const bool hitShieldRight = HitsShield(bullet, shieldRight);
        if (stopped || hitShieldLeft || hitShieldRight) {
            bullet.SetDel();
        } else {
            bullet.MoveUp();
        }
    }
}

void StatePlay::ScoreHit() {
    score += kPointsPerHit;
    scoreText->Render(itos(score).c_str());
}

void StatePlay::SoundHit(int hitsLeft) {
    PlaySound(hitsLeft > 0 ? Effect::AirplaneHit : Effect::AirplaneDown);
}

void StatePlay::ReplaceShotDownAirplanes() {
    if (airplane == nullptr && airplaneHits > 0) {
        airplane = PlaceSprite<AirplaneSprite>(assets, kAirplaneStart, kAirplanePicture);
    }
    if (airplane2 == nullptr && airplane2Hits > 0) {
        airplane2 = PlaceSprite<AirplaneSprite>(assets, kAirplane2Replacement, kAirplane2Picture);
    }
}

bool StatePlay::FieldCleared() const {
    return airplane == nullptr && airplane2 == nullptr && airplaneHits <= 0 && airplane2Hits <= 0;
}

void StatePlay::DropBombsAtRandom() {
    // One draw per airplane in play, the first airplane first: the whole game's chance comes
    // from this one unseeded sequence, so every run plays the same.
    const int oneIn = kBombChanceNumerator / level;
    if (airplane != nullptr && GetEngine()->BombDraw() % oneIn == kBombDraw) {
        DropBomb(airplane->GetPosX(), airplane->GetPosY());
    }
    if (airplane2 != nullptr && GetEngine()->BombDraw() % oneIn == kBombDraw) {
        DropBomb(airplane2->GetPosX(), airplane2->GetPosY());
    }
}

bool StatePlay::BombsFall() {
    const std::size_t count = bombs.size();
    for (std::size_t j = 0; j < count; ++j) {
        BombSprite& bomb = *bombs[j];
        if (bomb.GetPosY() > kBombGoneBelowY) {
            bomb.SetDel();
        }
        const bool hitCannon = Hits(bomb, *player, kCannonTarget);
        const bool hitShieldLeft = HitsShield(bomb, shieldLeft);
        const bool hitShieldRight = HitsShield(bomb, shieldRight);
        if (hitCannon) {
            return true;
        }
        if (hitShieldLeft || hitShieldRight) {
            bomb.SetDel();
        } else {
            bomb.MoveDown();
        }
    }
    return false;
}

void StatePlay::EndGame() {
    auto gameOver = std::make_unique<StateGameOver>(assets);
    gameOver->SetScore(score);
    ScreenEngine* engine = GetEngine();
    engine->SetEntername();
    // SetState destroys this state: nothing of it may be touched from here on.
    engine->SetState(gameOver.release());
}
