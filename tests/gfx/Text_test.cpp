#include "gfx/Text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "support/Scratch.h"

namespace {

TEST(Text, RendersMagentaAndEachRenderReplacesTheLastSurface) {
    ScratchDir dir;
    GameEngine engine;
    Text text;
    text.SetPos(520, 11);
    EXPECT_EQ(text.GetSurface(), nullptr);

    SDL_Surface* screen = engine.GetScreen();
    SDL_FillRect(screen, nullptr, 0);
    text.Draw(screen);  // nothing rendered yet: nothing drawn

    text.Render("123");
    ASSERT_NE(text.GetSurface(), nullptr);
    const int oneLineWidth = text.GetSurface()->w;
    // Rendering every frame keeps one surface: the sanitizer run reports any that leaks.
    for (int frame = 0; frame < 200; ++frame) {
        text.Render("123");
    }
    EXPECT_EQ(text.GetSurface()->w, oneLineWidth);

    text.Draw(screen);
    SDL_LockSurface(screen);
    bool magenta = false;
    const Uint32 full = SDL_MapRGB(screen->format, 255, 0, 255);
    for (int y = 11; y < 11 + text.GetSurface()->h; ++y) {
        const auto* row = static_cast<const Uint32*>(screen->pixels) + y * screen->pitch / 4;
        for (int x = 520; x < 520 + oneLineWidth; ++x) {
            magenta = magenta || (row[x] & 0x00FFFFFF) == (full & 0x00FFFFFF);
        }
    }
    SDL_UnlockSurface(screen);
    EXPECT_TRUE(magenta);

    // Empty text renders nothing and leaves nothing behind.
    text.Render("");
    EXPECT_EQ(text.GetSurface(), nullptr);
}

TEST(Text, WithoutItsFontRendersAndDrawsNothing) {
    ScratchDir dir;
    ASSERT_EQ(unlink("arial.ttf"), 0);
    GameEngine engine;
    Text text;
    text.SetPos(0, 0);
    text.Render("no font here");
    EXPECT_EQ(text.GetSurface(), nullptr);
    text.Draw(engine.GetScreen());
    text.Render(nullptr);
    EXPECT_EQ(text.GetSurface(), nullptr);
}

// A rendered line as its size and 32-bit pixels, row by row.
std::vector<Uint32> PixelsOf(const Text& text) {
    SDL_Surface* surface = text.GetSurface();
    if (surface == nullptr) {
        return {};
    }
    std::vector<Uint32> pixels = {static_cast<Uint32>(surface->w), static_cast<Uint32>(surface->h)};
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = static_cast<const Uint32*>(surface->pixels) + y * surface->pitch / 4;
        pixels.insert(pixels.end(), row, row + surface->w);
    }
    SDL_UnlockSurface(surface);
    return pixels;
}

// All texts share one opened font; it lives as long as any text uses it, so a text left alone
// still draws the same, and one made after all the others are gone opens the font anew.
TEST(Text, TextsShareOneFontThatOutlivesAllButTheLastOfThem) {
    ScratchDir dir;
    std::vector<Uint32> first;
    {
        GameEngine engine;
        auto one = std::make_unique<Text>();
        one->Render("07 points - Ada");
        first = PixelsOf(*one);
        Text other;
        one.reset();
        other.Render("07 points - Ada");
        EXPECT_EQ(PixelsOf(other), first);
    }
    ASSERT_FALSE(first.empty());
    // The engine's own texts went with it, and the font library was shut down.
    GameEngine engine;
    Text later;
    later.Render("07 points - Ada");
    EXPECT_EQ(PixelsOf(later), first);
}

TEST(Text, SwitchesOnUnicodeKeyTranslation) {
    ScratchDir dir;
    GameEngine engine;
    SDL_EnableUNICODE(0);
    Text text;
    EXPECT_EQ(SDL_EnableUNICODE(-1), 1);
}

}  // namespace
