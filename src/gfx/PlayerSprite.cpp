#include "gfx/PlayerSprite.h"

void PlayerSprite::MoveLeft() {
    if (GetPosX() > kLeftBound) {
        SetPos(GetPosX() - kStep, GetPosY());
    }
}

void PlayerSprite::MoveRight() {
    if (GetPosX() <= kRightBound) {
        SetPos(GetPosX() + kStep, GetPosY());
    }
}
