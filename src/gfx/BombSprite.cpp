#include "gfx/BombSprite.h"

void BombSprite::MoveDown() {
    SetPos(GetPosX(), GetPosY() + kStep);
}
