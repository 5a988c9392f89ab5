#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/GameEngine.h"
#include "gfx/Sprite.h"
#include "gfx/Text.h"
#include "support/Scratch.h"

namespace {

Uint32 PixelAt(SDL_Surface* surface, int x, int y) {
    SDL_LockSurface(surface);
    const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    const Uint32 pixel = reinterpret_cast<const Uint32*>(row)[x];
    SDL_UnlockSurface(surface);
    return pixel;
}

// A 3x1 picture: exact key orange, an orange one step off, and blue.
void WritePicture(const char* path) {
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 1, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    ASSERT_NE(picture, nullptr);
    auto* pixels = static_cast<Uint8*>(picture->pixels);
    const Uint8 colours[3][3] = {{255, 128, 0}, {255, 128, 1}, {0, 0, 255}};
    for (int i = 0; i < 3; ++i) {
        for (int c = 0; c < 3; ++c) {
            pixels[i * 3 + c] = colours[i][c];
        }
    }
    SDL_SaveBMP(picture, path);
    SDL_FreeSurface(picture);
}

TEST(LoadImage, ExactOrangeIsTransparentAndNothingElseIs) {
    ScratchDir dir;
    GameEngine engine;
    WritePicture("keyed.bmp");
    Sprite sprite;
    sprite.SetPos(10, 20);
    sprite.SetImage(GameEngine::load_image("keyed.bmp"));
    ASSERT_NE(sprite.GetImage(), nullptr);
    EXPECT_TRUE(sprite.GetImage()->flags & SDL_SRCCOLORKEY);
    EXPECT_FALSE(sprite.GetImage()->flags & SDL_RLEACCEL);

    SDL_Surface* screen = engine.GetScreen();
    const Uint32 grey = SDL_MapRGB(screen->format, 50, 50, 50);
    SDL_FillRect(screen, nullptr, grey);
    sprite.Draw(screen);
    EXPECT_EQ(PixelAt(screen, 10, 20), grey);
    EXPECT_EQ(PixelAt(screen, 11, 20), SDL_MapRGB(screen->format, 255, 128, 1));
    EXPECT_EQ(PixelAt(screen, 12, 20), SDL_MapRGB(screen->format, 0, 0, 255));
}

TEST(LoadImage, AMissingOrBrokenFileGivesNullAndASpriteThatDrawsNothing) {
    ScratchDir dir(false);
    GameEngine engine;
    EXPECT_EQ(GameEngine::load_image("missing.png"), nullptr);
    WriteWholeFile("broken.png", "\x89PNG\r\n\x1a\n but not really");
    EXPECT_EQ(GameEngine::load_image("broken.png"), nullptr);
    EXPECT_EQ(GameEngine::load_image(""), nullptr);

    Sprite sprite;
    sprite.SetPos(5, 5);
    sprite.SetImage(GameEngine::load_image("missing.png"));
    SDL_FillRect(engine.GetScreen(), nullptr, 0);
    sprite.Draw(engine.GetScreen());
    EXPECT_EQ(PixelAt(engine.GetScreen(), 5, 5), 0u);
}

// A shot loads its picture every time: a missing one must not print a line per shot.
TEST(LoadImage, EachFileThatCannotBeLoadedIsNamedOnceWithItsFolder) {
    ScratchDir dir(false);
    // Gone before the engine starts, so that its own texts and every later one go without it.
    std::remove("arial.ttf");
    WriteWholeFile("broken.png", "not a picture");
    testing::internal::CaptureStderr();
    GameEngine engine;
    Assets& assets = engine.GetAssets();
    for (int shot = 0; shot < 3; ++shot) {
        SurfacePtr(assets.Picture("bullet.png"));
        SurfacePtr(assets.Picture("broken.png"));
        Text text(assets);
    }
    const std::string said = testing::internal::GetCapturedStderr();

    auto timesSaid = [&](const std::string& words) {
        int times = 0;
        for (auto at = said.find(words); at != std::string::npos; at = said.find(words, at + 1)) {
            ++times;
        }
        return times;
    };
    EXPECT_EQ(timesSaid("cannot load bullet.png from " + dir.Path() + " ("), 1) << said;
    EXPECT_EQ(timesSaid("cannot load broken.png from " + dir.Path() + " ("), 1) << said;
    EXPECT_EQ(timesSaid("cannot load arial.ttf from " + dir.Path() + " ("), 1) << said;
    EXPECT_EQ(timesSaid("arcade-game: "), 3) << said;
}

// Played from elsewhere (--data-dir), the pictures, the font of every line (the engine's own
// and the screens') and the names of missing files all go by the engine's folder, not the working
// one.
TEST(LoadImage, AnEngineReadsItsDataFolderAndNamesItForAFileMissingThere) {
    ScratchDir dir;
    const DataFolder data(dir.Path());
    std::filesystem::create_directory("elsewhere");
    ASSERT_EQ(chdir("elsewhere"), 0);
    testing::internal::CaptureStderr();
    {
        GameEngine engine({}, data);
        EXPECT_NE(SurfacePtr(engine.GetAssets().Picture("bullet.png")), nullptr);
        EXPECT_EQ(SurfacePtr(engine.GetAssets().Picture("nothing.png")), nullptr);
        Text line(engine.GetAssets());
        line.Render("223");
        EXPECT_NE(line.GetSurface(), nullptr);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("cannot load nothing.png from " + dir.Path() + " ("), std::string::npos)
        << said;
    EXPECT_EQ(said.find("arial.ttf"), std::string::npos) << said;
}

TEST(SpriteDraw, APictureLeftOfTheWindowIsClippedAtItsEdge) {
    ScratchDir dir;
    GameEngine engine;
    SDL_Surface* screen = engine.GetScreen();
    SDL_Surface* wide = SDL_CreateRGBSurface(SDL_SWSURFACE, 100, 10, 32, screen->format->Rmask,
                                             screen->format->Gmask, screen->format->Bmask, 0);
    const Uint32 red = SDL_MapRGB(screen->format, 200, 0, 0);
    const Uint32 green = SDL_MapRGB(screen->format, 0, 200, 0);
    SDL_Rect leftPart = {0, 0, 80, 10};
    SDL_FillRect(wide, &leftPart, red);
    SDL_Rect rightPart = {80, 0, 20, 10};
    SDL_FillRect(wide, &rightPart, green);

    Sprite airplane;
    airplane.SetPos(-80, 35);
    airplane.SetImage(wide);
    SDL_FillRect(screen, nullptr, 0);
    airplane.Draw(screen);
    EXPECT_EQ(PixelAt(screen, 0, 35), green);
    EXPECT_EQ(PixelAt(screen, 19, 44), green);
    EXPECT_EQ(PixelAt(screen, 20, 35), 0u);
    EXPECT_EQ(PixelAt(screen, 639, 35), 0u);
}

}  // namespace
