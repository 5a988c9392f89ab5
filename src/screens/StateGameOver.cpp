#include "screens/StateGameOver.h"

#include "engine/GameKey.h"
#include "engine/ScreenEngine.h"
#include "gfx/Assets.h"
#include "screens/StateAddScore.h"

namespace {
constexpr const char* kPicture = "gameover.png";
constexpr int kPictureX = 0;
constexpr int kPictureY = 0;
// Between the title and the line that asks for the name.
constexpr int kPointsY = 180;
}  // namespace

StateGameOver::StateGameOver(Assets& assets)
    : assets(assets), background(std::make_unique<Sprite>()), points(kPointsY, assets) {
    background->SetPos(kPictureX, kPictureY);
    background->SetImage(assets.Picture(kPicture));
}

void StateGameOver::Draw(SDL_Surface* screen) {
    background->Draw(screen);
    points.Draw(screen, GetEngine(), score);
}

void StateGameOver::KeyPressed(int key) {
    if (key != KeyEnter) {
        return;
    }
    PlaySound(Effect::Select);
    auto addScore = std::make_unique<StateAddScore>(assets);
    addScore->SetScore(score);
    ScreenEngine* engine = GetEngine();
    // Both flags are on when Return gets this far; each call switches one of them off.
    engine->SetEntername();
    engine->SetNameentered();
    // SetState destroys this screen: nothing of it may be touched from here on.
    engine->SetState(addScore.release());
}
