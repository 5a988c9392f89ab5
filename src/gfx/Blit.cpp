#include "gfx/Blit.h"

#include "gfx/KeyedPictures.h"

void BlitAt(SDL_Surface* picture, SDL_Surface* screen, int x, int y) {
    if (picture == nullptr || screen == nullptr) {
        return;
    }
    PrepareKeyed(picture);
    // SDL 1.2 keeps positions as 16-bit values; everything on the field stays well inside them.
    SDL_Rect where;
    where.x = static_cast<Sint16>(x);
    where.y = static_cast<Sint16>(y);
    where.w = 0;
    where.h = 0;
    SDL_BlitSurface(picture, nullptr, screen, &where);
}
