#include "gfx/KeyedPictures.h"

#include "gfx/Blit.h"

namespace {

// Whether any pixel of the picture is its key colour, as SDL tells them apart: by colour, the
// alpha bits left out. Every picture the game draws is in the window's 32-bit format; one of any
// other depth is taken to have such pixels, and keeps SDL's own test.
bool HasKeyedPixel(SDL_Surface* picture) {
    const SDL_PixelFormat* format = picture->format;
    if (format->BytesPerPixel != 4 || SDL_LockSurface(picture) != 0) {
        return true;
    }
    const Uint32 colour = ~format->Amask;
    const Uint32 key = format->colorkey & colour;
    bool found = false;
    for (int y = 0; y < picture->h && !found; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(picture->pixels) + y * picture->pitch);
        for (int x = 0; x < picture->w && !found; ++x) {
            found = (row[x] & colour) == key;
        }
    }
    SDL_UnlockSurface(picture);
    return found;
}

}  // namespace

// A keyed picture tested pixel by pixel against its key costs most of a frame when it fills the
// window, and what lands on the screen needs no such test: a picture without a single pixel of
// its key colour is copied whole, and one with such pixels is copied as runs of drawn pixels,
// which SDL encodes at the first blit and keeps (a lock for reading the pixels decodes the runs
// and the unlock encodes them again). Either way every pixel drawn is the same. Pictures with an
// alpha channel, the rendered text, are blended and stay as they are.
void PrepareKeyed(SDL_Surface* picture) {
    const Uint32 flags = picture->flags;
    if ((flags & SDL_SRCCOLORKEY) == 0 || (flags & (SDL_RLEACCEL | SDL_RLEACCELOK)) != 0 ||
        (flags & SDL_SRCALPHA) != 0) {
        return;
    }
    if (!HasKeyedPixel(picture)) {
        SDL_SetColorKey(picture, 0, 0);
    } else if (KeepsRunLengths()) {
        SDL_SetColorKey(picture, SDL_SRCCOLORKEY | SDL_RLEACCEL, picture->format->colorkey);
    }
}

// The layer keeps no run-length form from 1.2.50 on: there a picture with keyed pixels keeps the
// pixel test, and is looked at again at each draw, which ends at its first keyed pixel (a corner,
// in every sprite the game has).
bool KeepsRunLengths() {
    return SDL_Linked_Version()->patch < 50;
}

bool CoversWhatItIsDrawnOver(SDL_Surface* picture) {
    if (picture == nullptr) {
        return false;
    }
    PrepareKeyed(picture);
    return (picture->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)) == 0;
}
