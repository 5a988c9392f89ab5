#include "SdlWeb.h"

namespace {
constexpr Uint32 kColourBits = 0x00ffffff;  // a pixel is red, green, blue, alpha from low to high
}  // namespace

// Every surface in the browser is a canvas in the screen's format: a copy is all there is to do.
extern "C" SDL_Surface* SDL_DisplayFormat(SDL_Surface* surface) {
    return SDL_DisplayFormatAlpha(surface);
}

// The browser's SDL ignores the key colour, so sprites would show it as a box. Make those pixels
// transparent once, here at load time, and the canvas leaves them out of every later blit.
extern "C" int SDL_SetColorKey(SDL_Surface* surface, int flag, Uint32 key) {
    if (surface == nullptr || SDL_LockSurface(surface) != 0) {
        return -1;
    }
    if ((flag & SDL_SRCCOLORKEY) != 0) {
        auto* rows = static_cast<Uint8*>(surface->pixels);
        for (int y = 0; y < surface->h; ++y) {
            auto* pixel = reinterpret_cast<Uint32*>(rows + y * surface->pitch);
            for (int x = 0; x < surface->w; ++x) {
                if ((pixel[x] & kColourBits) == (key & kColourBits)) {
                    pixel[x] = 0;
                }
            }
        }
    }
    SDL_UnlockSurface(surface);
    return 0;
}
