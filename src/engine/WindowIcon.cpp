#include "engine/WindowIcon.h"

#include <SDL.h>
#include <SDL_image.h>

#include "gfx/SdlPtr.h"

void SetWindowIcon() {
    SurfacePtr icon(IMG_Load_RW(SDL_RWFromConstMem(kWindowIconPng, kWindowIconPngSize), 1));
    if (icon != nullptr) {
        // No mask: SDL makes one from the picture's own transparency.
        SDL_WM_SetIcon(icon.get(), nullptr);
    }
}
