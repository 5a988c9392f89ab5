#include "gfx/Sprite.h"

#include "gfx/Blit.h"

namespace {
// Width of the probe along a sprite's top edge.
constexpr int kProbeWidth = 5;
}  // namespace

bool Sprite::CollisionCheck(int x, int y, int w, int h) {
    return this->y > y && this->y<y + h&& this->x + kProbeWidth> x && this->x < x + w;
}

void Sprite::Draw(SDL_Surface* screen) {
    BlitAt(image.get(), screen, x, y);
}

void Sprite::SetPos(int x, int y) {
    this->x = x;
    this->y = y;
}

void Sprite::SetImage(SDL_Surface* image) {
    this->image.reset();
    this->image.reset(image);
}
