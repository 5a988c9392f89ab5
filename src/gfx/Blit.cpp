#include "gfx/Blit.h"

namespace {

// Whether any pixel of the picture is its key colour, as SDL tells them apart: by colour, the
// alpha bits left out.
bool HasKeyedPixel(SDL_Surface* picture) {
    const SDL_PixelFormat* format = picture->format;
    const Uint32 colour = ~format->Amask;
    const Uint32 key = format->colorkey & colour;
    const int bytes = format->BytesPerPixel;
    if (SDL_LockSurface(picture) != 0) {
        return true;
    }
    bool found = false;
    for (int y = 0; y < picture->h && !found; ++y) {
        const Uint8* pixel = static_cast<const Uint8*>(picture->pixels) + y * picture->pitch;
        for (int x = 0; x < picture->w && !found; ++x, pixel += bytes) {
            Uint32 value = 0;
            switch (bytes) {
                case 4:
                    value = *reinterpret_cast<const Uint32*>(pixel);
                    break;
                case 3:
                    value = SDL_BYTEORDER == SDL_LIL_ENDIAN
                                ? pixel[0] | pixel[1] << 8 | static_cast<Uint32>(pixel[2]) << 16
                                : pixel[2] | pixel[1] << 8 | static_cast<Uint32>(pixel[0]) << 16;
                    break;
                case 2:
                    value = *reinterpret_cast<const Uint16*>(pixel);
                    break;
                default:
                    value = *pixel;
                    break;
            }
            found = (value & colour) == key;
        }
    }
    SDL_UnlockSurface(picture);
    return found;
}

// The layer over SDL 2 that stands in for SDL 1.2 (from 1.2.50 on) keeps no run-length form:
// there a picture with keyed pixels keeps the pixel test, and is looked at again at each draw,
// which ends at its first keyed pixel (a corner, in every sprite the game has).
bool KeepsRunLengths() {
    return SDL_Linked_Version()->patch < 50;
}

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

}  // namespace

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

bool CoversWhatItIsDrawnOver(SDL_Surface* picture) {
    if (picture == nullptr) {
        return false;
    }
    PrepareKeyed(picture);
    return (picture->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)) == 0;
}
