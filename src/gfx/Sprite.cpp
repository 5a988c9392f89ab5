#include "gfx/Sprite.h"

#include "gfx/Blit.h"

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
