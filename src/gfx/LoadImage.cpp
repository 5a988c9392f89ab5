#include "gfx/LoadImage.h"

#include "gfx/DecodeKeyed.h"

SDL_Surface* LoadImage(const std::string& path) {
    return DecodeKeyed(path);
}
