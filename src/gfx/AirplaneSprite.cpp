#include "gfx/AirplaneSprite.h"

void AirplaneSprite::MoveLeft() {
    if (GetPosX() < kRightWrapX) {
        SetPos(GetPosX() + kRightwardStep, GetPosY());
    } else {
        SetPos(kLeftWrapX, GetPosY());
    }
}

void AirplaneSprite::MoveRight() {
    if (GetPosX() > kLeftWrapX) {
        SetPos(GetPosX() - kLeftwardStep, GetPosY());
    } else {
        SetPos(kRightWrapX, GetPosY());
    }
}
