// The least a frame of the game can cost in a real window: one full-window picture copied onto
// the window, the flip, and the wait to the end of a 20 ms frame, paced the way the game paces
// its frames. The whole-process benchmark measures it beside the game, in the same run.
//   arcade-floor PICTURE [SCALE]     Escape or closing the window ends it
// With a SCALE of 2 to 8 the window is that many times larger and the picture is enlarged to it
// once at the start: the floor for the game at that scale, whose only extra is the enlarging.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "engine/Enlarge.h"
#include "gfx/SdlPtr.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kBitsPerPixel = 32;
constexpr Uint32 kFrameMillis = 20;
}  // namespace

int main(int argc, char* argv[]) {
    const int scale = argc == 3 ? std::atoi(argv[2]) : 1;
    if (argc < 2 || argc > 3 || scale < 1 || scale > 8) {
        std::fprintf(stderr, "usage: arcade-floor PICTURE [SCALE]\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) == -1) {
        std::fprintf(stderr, "arcade-floor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Surface* screen = SDL_SetVideoMode(kWidth * scale, kHeight * scale, kBitsPerPixel, 0);
    SurfacePtr loaded(IMG_Load(argv[1]));
    SurfacePtr picture(screen != nullptr && loaded != nullptr ? SDL_DisplayFormat(loaded.get())
                                                              : nullptr);
    if (picture != nullptr && scale > 1) {
        SurfacePtr large(SDL_ConvertSurface(screen, screen->format, SDL_SWSURFACE));
        if (large != nullptr) {
            Enlarge(*picture, *large, 0, 0, scale);
        }
        picture = std::move(large);
    }
    if (picture == nullptr) {
        std::fprintf(stderr, "arcade-floor: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    loaded.reset();
    SDL_WM_SetCaption("Arcade Floor", nullptr);

    bool quit = false;
    while (!quit) {
        const Uint32 frameEnd = SDL_GetTicks() + kFrameMillis;
        SDL_Event event;
        if (SDL_PollEvent(&event) == 1) {
            quit = event.type == SDL_QUIT ||
                   (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
        }
        SDL_BlitSurface(picture.get(), nullptr, screen, nullptr);
        SDL_Flip(screen);
        const auto remaining = static_cast<Sint32>(frameEnd - SDL_GetTicks());
        if (remaining > 0) {
            SDL_Delay(static_cast<Uint32>(remaining));
        }
    }
    picture.reset();
    SDL_Quit();
    return 0;
}
