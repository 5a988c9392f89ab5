#include "gfx/Text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

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
    // Lines are fitted to their place by measuring first: the measure is the surface's width.
    EXPECT_EQ(text.WidthOf("123"), oneLineWidth);
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
    EXPECT_EQ(text.WidthOf("no font here"), 0);
    text.Draw(engine.GetScreen());
    text.Render(nullptr);
    EXPECT_EQ(text.GetSurface(), nullptr);
}

}  // namespace
