#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/GameEngine.h"
#include "gfx/SdlPtr.h"
#include "support/Scratch.h"

namespace {

struct Colour {
    int r;
    int g;
    int b;
};

constexpr Colour kKey{255, 128, 0};
constexpr Colour kGameText{255, 0, 255};
// Closer than this on every channel, a colour passes for the key (a fringe of orange around a
// sprite) or for the game's own text colour.
constexpr int kTooClose = 40;

bool IsKey(Colour c) {
    return c.r == kKey.r && c.g == kKey.g && c.b == kKey.b;
}

bool Near(Colour c, Colour to) {
    return std::abs(c.r - to.r) <= kTooClose && std::abs(c.g - to.g) <= kTooClose &&
           std::abs(c.b - to.b) <= kTooClose;
}

Colour ColourAt(SDL_Surface* surface, int x, int y) {
    const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    const Uint32 pixel = reinterpret_cast<const Uint32*>(row)[x];
    Uint8 r, g, b;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    return {r, g, b};
}

struct Area {
    int x;
    int y;
    int w;
    int h;
};

enum class Kind { Sprite, Screen };

// Each picture as the game needs it. Sprites are as big as the rectangles the game tests hits
// against; `solid` is a part that must show (the barrel a bullet leaves by, the rows of a shield
// that stop shots, the hanging bomb where bombs are let go). Full screens must leave the places
// where the game writes its magenta text dark.
struct ExpectedPicture {
    const char* file;
    int width;
    int height;
    Kind kind;
    Area solid;
    Area darkAreas[2];
};

constexpr Area kNone{0, 0, 0, 0};

const ExpectedPicture kPictures[] = {
    {"canon.png", 72, 55, Kind::Sprite, {33, 3, 5, 20}, {kNone, kNone}},
    {"airplane.png", 73, 43, Kind::Sprite, {38, 35, 5, 1}, {kNone, kNone}},
    {"airplane2.png", 73, 43, Kind::Sprite, {38, 35, 5, 1}, {kNone, kNone}},
    {"shield.png", 95, 20, Kind::Sprite, {1, 0, 93, 12}, {kNone, kNone}},
    {"bullet.png", 5, 12, Kind::Sprite, {2, 0, 1, 10}, {kNone, kNone}},
    {"bomb.png", 5, 10, Kind::Sprite, {1, 1, 3, 8}, {kNone, kNone}},
    // The level number at (290, 11) and the score at (520, 11).
    {"bg.png", 640, 480, Kind::Screen, kNone, {{290, 11, 40, 25}, {520, 11, 80, 25}}},
    {"menu.png", 640, 480, Kind::Screen, kNone, {kNone, kNone}},
    // The typed name at (100, 350) and the prompt after it on the same row, up to the name
    // box's right side; beside a long name the prompt a row lower, and room below it.
    {"gameover.png", 640, 480, Kind::Screen, kNone, {{100, 350, 530, 30}, {300, 375, 330, 33}}},
    {"addscorebg.png", 640, 480, Kind::Screen, kNone, {kNone, kNone}},
    // Two columns of 14 lines, 30 pixels apart, from (50, 60) and (300, 60); the tails of the
    // last row's letters reach y 474, and the panel goes on two rows below them.
    {"showscorebg.png", 640, 480, Kind::Screen, kNone, {{50, 60, 250, 417}, {300, 60, 330, 417}}},
};

constexpr int kDarkest = 40;  // no channel brighter than this where the game writes

TEST(Pictures, EachLoadsAtItsSizeWithTheKeyOnlyWhereNothingShows) {
    ScratchDir dir;
    GameEngine engine;
    for (const ExpectedPicture& expected : kPictures) {
        SCOPED_TRACE(expected.file);
        SurfacePtr picture(GameEngine::load_image(expected.file));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->w, expected.width);
        EXPECT_EQ(picture->h, expected.height);
        ASSERT_TRUE(picture->flags & SDL_SRCCOLORKEY);
        EXPECT_EQ(picture->format->colorkey, SDL_MapRGB(picture->format, kKey.r, kKey.g, kKey.b));

        SDL_LockSurface(picture.get());
        int keyPixels = 0;
        int nearKey = 0;
        int nearGameText = 0;
        for (int y = 0; y < picture->h; ++y) {
            for (int x = 0; x < picture->w; ++x) {
                const Colour c = ColourAt(picture.get(), x, y);
                keyPixels += IsKey(c);
                nearKey += !IsKey(c) && Near(c, kKey);
                nearGameText += Near(c, kGameText);
            }
        }
        EXPECT_EQ(nearKey, 0) << "pixels that would show as an orange fringe";
        EXPECT_EQ(nearGameText, 0) << "pixels that pass for the game's own magenta text";

        if (expected.kind == Kind::Sprite) {
            for (auto [x, y] : {std::pair{0, 0},
                                {expected.width - 1, 0},
                                {0, expected.height - 1},
                                {expected.width - 1, expected.height - 1}}) {
                EXPECT_TRUE(IsKey(ColourAt(picture.get(), x, y))) << "corner " << x << "," << y;
            }
            for (int y = expected.solid.y; y < expected.solid.y + expected.solid.h; ++y) {
                for (int x = expected.solid.x; x < expected.solid.x + expected.solid.w; ++x) {
                    EXPECT_FALSE(IsKey(ColourAt(picture.get(), x, y)))
                        << "see-through at " << x << "," << y;
                }
            }
        } else {
            EXPECT_EQ(keyPixels, 0) << "a full-screen picture with holes";
            for (const Area& area : expected.darkAreas) {
                int bright = 0;
                for (int y = area.y; y < area.y + area.h; ++y) {
                    for (int x = area.x; x < area.x + area.w; ++x) {
                        const Colour c = ColourAt(picture.get(), x, y);
                        bright += c.r > kDarkest || c.g > kDarkest || c.b > kDarkest;
                    }
                }
                EXPECT_EQ(bright, 0)
                    << "bright pixels where the game writes, from " << area.x << "," << area.y;
            }
        }
        SDL_UnlockSurface(picture.get());
    }
}

// The cannon's picture shows it facing up; the airplanes face the way they fly, so the first
// (flying right) has its propeller on the right and the second on the left, in other colours.
TEST(Pictures, AirplanesFaceTheWayTheyFlyAndDifferInColour) {
    ScratchDir dir;
    GameEngine engine;
    SurfacePtr first(GameEngine::load_image("airplane.png"));
    SurfacePtr second(GameEngine::load_image("airplane2.png"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(first->w, second->w);
    SDL_LockSurface(first.get());
    SDL_LockSurface(second.get());

    // How many rows show something in a column: a propeller is a tall thin streak.
    auto rowsShown = [](SDL_Surface* s, int x) {
        int shown = 0;
        for (int y = 0; y < s->h; ++y) {
            shown += !IsKey(ColourAt(s, x, y));
        }
        return shown;
    };
    const int w = first->w;
    EXPECT_GT(rowsShown(first.get(), w - 2), rowsShown(first.get(), 1));
    EXPECT_GT(rowsShown(second.get(), 1), rowsShown(second.get(), w - 2));

    // The middle of the fuselage, where each wears its own colour.
    const Colour a = ColourAt(first.get(), w / 2, first->h / 2);
    const Colour b = ColourAt(second.get(), w / 2, second->h / 2);
    EXPECT_GT(std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b), 120);
    SDL_UnlockSurface(second.get());
    SDL_UnlockSurface(first.get());
}

}  // namespace
