#pragma once

#include <SDL.h>

// Holds a surface's lock for as long as its pixels are touched, where SDL asks for one.
class PixelAccess {
  public:
    explicit PixelAccess(SDL_Surface& surface) : surface(&surface) {
        locked = !SDL_MUSTLOCK(this->surface) || SDL_LockSurface(this->surface) == 0;
    }
    ~PixelAccess() {
        if (locked && SDL_MUSTLOCK(surface)) {
            SDL_UnlockSurface(surface);
        }
    }
    PixelAccess(const PixelAccess&) = delete;
    PixelAccess& operator=(const PixelAccess&) = delete;
    bool Ok() const { return locked; }

  private:
    SDL_Surface* surface;
    bool locked = false;
};
