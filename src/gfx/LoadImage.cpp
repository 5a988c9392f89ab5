#include "gfx/LoadImage.h"

#include "gfx/DecodeKeyed.h"

SDL_Surface* LoadImage(const std::string& path) {
    // Without a window there is no format to load into, and proving a replay wants no pictures.
    if (SDL_GetVideoSurface() == nullptr) {
        return nullptr;
    }
    return DecodeKeyed(path);
}
