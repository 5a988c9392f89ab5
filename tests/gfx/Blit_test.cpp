#include "gfx/Blit.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/GameEngine.h"
#include "gfx/SdlPtr.h"
#include "support/Scratch.h"

namespace {

// A window-sized surface in the screen's format with a different value in every pixel, so that
// any pixel drawn or left out shows.
SurfacePtr Noise(SDL_Surface* screen) {
    SurfacePtr noise(SDL_ConvertSurface(screen, screen->format, SDL_SWSURFACE));
    SDL_LockSurface(noise.get());
    for (int y = 0; y < noise->h; ++y) {
        auto* row =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(noise->pixels) + y * noise->pitch);
        for (int x = 0; x < noise->w; ++x) {
            row[x] = static_cast<Uint32>(x * 7919 + y * 104729) & 0x00FFFFFF;
        }
    }
    SDL_UnlockSurface(noise.get());
    return noise;
}

bool SamePixels(SDL_Surface* a, SDL_Surface* b) {
    SDL_LockSurface(a);
    SDL_LockSurface(b);
    bool same = a->w == b->w && a->h == b->h;
    for (int y = 0; same && y < a->h; ++y) {
        same = std::memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch,
                           static_cast<Uint8*>(b->pixels) + y * b->pitch,
                           static_cast<std::size_t>(a->w) * a->format->BytesPerPixel) == 0;
    }
    SDL_UnlockSurface(b);
    SDL_UnlockSurface(a);
    return same;
}

// Every drawn pixel is the one SDL's plain key test draws: for a full-window picture without a
// key-coloured pixel and for sprites full of them, whole, clipped at each edge, drawn again
// after their first draw and after their pixels were read.
TEST(BlitAt, DrawsExactlyWhatThePlainKeyTestDraws) {
    ScratchDir dir;
    GameEngine engine;
    SDL_Surface* screen = engine.GetScreen();
    const struct {
        const char* picture;
        int x, y;
    } draws[] = {{"menu.png", 0, 0},         {"airplane.png", 100, 35}, {"airplane.png", -80, 35},
                 {"airplane.png", -40, -20}, {"canon.png", 596, 423},   {"shield.png", 600, 470},
                 {"bomb.png", 637, 100},     {"bullet.png", 200, 420},  {"bg.png", 0, 0},
                 {"airplane2.png", 300, 80}};
    SurfacePtr expected = Noise(screen);
    SurfacePtr start = Noise(screen);
    SDL_BlitSurface(start.get(), nullptr, screen, nullptr);
    for (const auto& draw : draws) {
        SurfacePtr drawn(GameEngine::load_image(draw.picture));
        SurfacePtr reference(GameEngine::load_image(draw.picture));
        ASSERT_NE(drawn, nullptr) << draw.picture;
        for (int pass = 0; pass < 3; ++pass) {
            if (pass == 2) {
                SDL_LockSurface(drawn.get());
                SDL_UnlockSurface(drawn.get());
            }
            BlitAt(drawn.get(), screen, draw.x + pass, draw.y);
            SDL_Rect where = {static_cast<Sint16>(draw.x + pass), static_cast<Sint16>(draw.y), 0,
                              0};
            SDL_BlitSurface(reference.get(), nullptr, expected.get(), &where);
            ASSERT_TRUE(SamePixels(screen, expected.get())) << draw.picture << " pass " << pass;
            // What keeps them at copy speed: a picture with keyed pixels that has once landed on
            // the screen is drawn as runs.
            const bool landed = draw.x + pass + drawn->w > 0 && draw.y + drawn->h > 0;
            if (landed && (drawn->flags & SDL_SRCCOLORKEY) != 0 && KeepsRunLengths()) {
                EXPECT_NE(drawn->flags & SDL_RLEACCEL, 0u) << draw.picture << " pass " << pass;
            }
        }
    }
}

}  // namespace
