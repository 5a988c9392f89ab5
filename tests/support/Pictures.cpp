#include "support/Pictures.h"

void WriteSolidPicture(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
    SDL_Surface* picture =
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, r, g, b));
    SDL_SaveBMP(picture, path.c_str());
    SDL_FreeSurface(picture);
}

Rgb PixelAt(SDL_Surface* surface, int x, int y) {
    SDL_LockSurface(surface);
    const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    Uint32 value = 0;
    switch (surface->format->BytesPerPixel) {
        case 4:
            value = reinterpret_cast<const Uint32*>(row)[x];
            break;
        case 2:
            value = reinterpret_cast<const Uint16*>(row)[x];
            break;
        default:
            value = row[x];
            break;
    }
    SDL_UnlockSurface(surface);
    Rgb colour{};
    SDL_GetRGB(value, surface->format, &colour.r, &colour.g, &colour.b);
    return colour;
}
