#include "gfx/BulletSprite.h"

void BulletSprite::MoveUp() {
    SetPos(GetPosX(), GetPosY() - kStep);
}
