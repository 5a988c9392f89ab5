// The browser's own BlitAt, in place of the desktop's: there the key colour is tested at every
// blit unless the picture is prepared for it, while in the browser the key colour's pixels were
// made transparent at load time and every blit is the canvas's own copy.
#include "gfx/Blit.h"

void BlitAt(SDL_Surface* picture, SDL_Surface* screen, int x, int y) {
    if (picture == nullptr || screen == nullptr) {
        return;
    }
    SDL_Rect where;
    where.x = static_cast<Sint16>(x);
    where.y = static_cast<Sint16>(y);
    where.w = 0;
    where.h = 0;
    SDL_BlitSurface(picture, nullptr, screen, &where);
}

// In the browser the key colour became transparency at load time, so no picture is known to cover
// what it is drawn over.
bool CoversWhatItIsDrawnOver(SDL_Surface*) {
    return false;
}
