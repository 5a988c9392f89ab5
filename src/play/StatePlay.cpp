#include "play/StatePlay.h"

#include <sstream>

#include "engine/GameKey.h"
#include "engine/ScreenEngine.h"
#include "play/PlaceSprite.h"
#include "play/PlayRules.h"

using namespace play;

StatePlay::StatePlay(Assets& assets) : assets(assets) {
    player = PlaceSprite<PlayerSprite>(assets, kCannonStart, kCannonPicture);
    airplane = PlaceSprite<AirplaneSprite>(assets, kAirplaneStart, kAirplanePicture);
    background = PlaceSprite<Sprite>(assets, kBackgroundAt, kBackgroundPicture);
    shieldLeft = PlaceSprite<Sprite>(assets, kShieldLeftStart, kShieldPicture);
    shieldRight = PlaceSprite<Sprite>(assets, kShieldRightStart, kShieldPicture);
    airplaneHits = kFirstLevelAirplaneHits;
    airplane2Hits = kFirstLevelAirplane2Hits;
    level = kFirstLevel;
    score = 0;

    levelText = std::make_unique<Text>(assets);
    levelText->SetPos(kLevelTextAt.x, kLevelTextAt.y);
    levelText->Render(itos(level).c_str());
    scoreText = std::make_unique<Text>(assets);
    scoreText->SetPos(kScoreTextAt.x, kScoreTextAt.y);
    scoreText->Render(itos(score).c_str());
}

StatePlay::~StatePlay() {
    background.reset();
    player.reset();
    airplane.reset();
    shieldLeft.reset();
    shieldRight.reset();
    airplane2.reset();
    for (auto& bullet : bullets) {
        bullet.reset();
    }
    for (auto& bomb : bombs) {
        bomb.reset();
    }
    // The HUD goes with the field: its fonts and surfaces must not outlive the screen.
    levelText.reset();
    scoreText.reset();
}

std::string StatePlay::itos(int value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

void StatePlay::NextLevel() {
    ++level;
    levelText->Render(itos(level).c_str());
    // Past the last level nothing comes into play: the next update finds the field cleared
    // and ends the game.
    if (level > kLastLevel) {
        return;
    }
    airplane = PlaceSprite<AirplaneSprite>(assets, kAirplaneStart, kAirplanePicture);
    airplane2 = PlaceSprite<AirplaneSprite>(assets, kAirplane2LevelStart, kAirplane2Picture);

    const LevelSetup& setup = SetupForLevel(level);
    airplaneHits = setup.airplaneHits;
    airplane2Hits = setup.airplane2Hits;
    if (!setup.shieldLeft.kept) {
        shieldLeft.reset();
    } else if (shieldLeft != nullptr) {
        shieldLeft->SetPos(setup.shieldLeft.at.x, setup.shieldLeft.at.y);
    }
    if (!setup.keepShieldRight) {
        shieldRight.reset();
    }
}

void StatePlay::KeyPressed(int key) {
    switch (key) {
        case KeySpace:
            FireBullet(player->GetPosX(), player->GetPosY());
            PlaySound(Effect::Fire);
            return;
        case KeyLeft:
            player->MoveLeft();
            return;
        case KeyRight:
            player->MoveRight();
            return;
        default:
            return;
    }
}

void StatePlay::FireBullet(int x, int y) {
    bullets.push_back(PlaceSprite<BulletSprite>(
        assets, {x + kBulletFromCannon.x, y + kBulletFromCannon.y}, kBulletPicture));
}

void StatePlay::DropBomb(int x, int y) {
    bombs.push_back(PlaceSprite<BombSprite>(
        assets, {x + kBombFromAirplane.x, y + kBombFromAirplane.y}, kBombPicture));
}

void StatePlay::Draw(SDL_Surface* screen) {
    // Airplanes, bullets and bombs pass in front of the HUD and the cannon and behind the shields.
    background->Draw(screen);
    player->Draw(screen);
    levelText->Draw(screen);
    scoreText->Draw(screen);
    if (airplaneHits > 0 && airplane != nullptr) {
        airplane->Draw(screen);
    }
    if (airplane2Hits > 0 && airplane2 != nullptr) {
        airplane2->Draw(screen);
    }
    for (const auto& bullet : bullets) {
        bullet->Draw(screen);
    }
    for (const auto& bomb : bombs) {
        bomb->Draw(screen);
    }
    if (shieldLeft != nullptr) {
        shieldLeft->Draw(screen);
    }
    if (shieldRight != nullptr) {
        shieldRight->Draw(screen);
    }
}

namespace {
// Proving writes the field every frame, bullets and all: each value goes straight into its
// place, the vector sized once for the whole frame.
int* WriteSprite(const Sprite* sprite, int* at) {
    if (sprite == nullptr) {
        *at++ = 0;
        return at;
    }
    *at++ = 1;
    *at++ = sprite->GetPosX();
    *at++ = sprite->GetPosY();
    return at;
}

std::size_t SpriteSize(const Sprite* sprite) {
    return sprite == nullptr ? 1 : 3;
}

template <typename Kind>
int* WriteList(const std::vector<std::unique_ptr<Kind>>& list, int* at) {
    // The counts keep a bullet from passing for a bomb.
    *at++ = static_cast<int>(list.size());
    for (const auto& sprite : list) {
        at = WriteSprite(sprite.get(), at);
    }
    return at;
}

template <typename Kind>
std::size_t ListSize(const std::vector<std::unique_ptr<Kind>>& list) {
    std::size_t size = 1;
    for (const auto& sprite : list) {
        size += SpriteSize(sprite.get());
    }
    return size;
}

constexpr std::size_t kFieldNumbers = 4;  // the hits left of both airplanes, level and score
constexpr std::size_t kFixedSprites = 5;  // the cannon, the airplanes and the shields
}  // namespace

bool StatePlay::GlanceAt(const std::vector<int>& field, Glance& glance) {
    // The fixed sprites, each 0 or 1 and its x and y, then the four numbers.
    int at[kFixedSprites] = {};
    std::size_t next = 0;
    for (std::size_t sprite = 0; sprite < kFixedSprites; ++sprite) {
        if (next >= field.size()) {
            return false;
        }
        at[sprite] = field[next] == 0 ? -1 : static_cast<int>(next) + 1;
        next += field[next] == 0 ? 1 : 3;
    }
    if (at[0] < 0 || next + kFieldNumbers > field.size()) {
        return false;
    }
    glance.cannonX = field[static_cast<std::size_t>(at[0])];
    glance.airplane = at[1] >= 0;
    glance.airplaneX = glance.airplane ? field[static_cast<std::size_t>(at[1])] : 0;
    glance.airplane2 = at[2] >= 0;
    glance.airplane2X = glance.airplane2 ? field[static_cast<std::size_t>(at[2])] : 0;
    glance.airplaneHits = field[next];
    glance.airplane2Hits = field[next + 1];
    glance.level = field[next + 2];
    glance.score = field[next + 3];
    return true;
}

void StatePlay::WriteField(std::vector<int>& out) const {
    const Sprite* const fixed[kFixedSprites] = {player.get(), airplane.get(), airplane2.get(),
                                                shieldLeft.get(), shieldRight.get()};
    std::size_t size = kFieldNumbers + ListSize(bullets) + ListSize(bombs);
    for (const Sprite* sprite : fixed) {
        size += SpriteSize(sprite);
    }
    out.resize(size);
    int* at = out.data();
    for (const Sprite* sprite : fixed) {
        at = WriteSprite(sprite, at);
    }
    for (const int number : {airplaneHits, airplane2Hits, level, score}) {
        *at++ = number;
    }
    at = WriteList(bullets, at);
    WriteList(bombs, at);
}
