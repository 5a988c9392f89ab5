#include "screens/StateMenu.h"

#include "engine/GameKey.h"
#include "engine/ScreenEngine.h"
#include "gfx/Assets.h"
#include "gfx/Blit.h"
#include "play/StatePlay.h"
#include "screens/StateShowScore.h"

StateMenu::StateMenu(Assets& assets) : assets(assets), menuImage(assets.Picture("menu.png")) {}

void StateMenu::Draw(SDL_Surface* screen) {
    BlitAt(menuImage.get(), screen, 0, 0);
}

void StateMenu::KeyPressed(int key) {
    if (key == KeyEnter || key == KeySpace) {
        PlaySound(Effect::Select);
    }
    // SetState destroys this menu, so nothing of it is touched after the switch.
    switch (key) {
        case KeyEnter:
            GetEngine()->GameStarts();
            GetEngine()->SetState(new StatePlay(assets));
            return;
        case KeySpace:
            GetEngine()->SetState(new StateShowScore(assets, std::string(), std::string(), {},
                                                     GetEngine()->SharedScores()));
            return;
        default:
            return;
    }
}
