// Draws the game's eleven pictures and writes them as PNG files, and its icon, in every size
// that the window and the desktop use, into icons/ beside them.
//
//   arcade-pictures OUTPUT_DIR [FONT_DIR]
//
// FONT_DIR holds the Liberation fonts (Debian's fonts-liberation). The same sources always give
// the same bytes, so the pictures can be rebuilt and committed without noise.

#include <SDL_ttf.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "Icon.h"
#include "PngFile.h"
#include "Scenery.h"
#include "Screens.h"
#include "Sprites.h"

namespace {
constexpr const char* kDefaultFontDir = "/usr/share/fonts/truetype/liberation";

// Sprites show the key colour around their shape; full screens must show every pixel.
enum class Kind { Sprite, Screen };

struct Picture {
    const char* file;
    Kind kind;
    std::function<Canvas(const Fonts&)> draw;
};

// A picture the game would show wrongly: an orange fringe, lettering that passes for the game's
// own text, or a hole in a full screen.
const char* Fault(const Canvas& canvas, Kind kind) {
    for (Rgb c : canvas.Pixels()) {
        if (IsNearKey(c)) {
            return "a colour close to the transparent orange";
        }
        if (IsNearGameText(c)) {
            return "a colour close to the game's magenta text";
        }
        if (kind == Kind::Screen && c == kKey) {
            return "a transparent pixel in a full-screen picture";
        }
    }
    if (kind == Kind::Sprite && canvas.At(0, 0) != kKey) {
        return "no transparent corner";
    }
    return nullptr;
}

// The font library, up for as long as the pictures are being drawn.
struct FontLibrary {
    FontLibrary() : up(TTF_Init() == 0) {}
    ~FontLibrary() {
        if (up) {
            TTF_Quit();
        }
    }
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;
    bool up;
};
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [FONT_DIR]\n", argv[0]);
        return 2;
    }
    const std::string outputDir = argv[1];
    const std::string fontDir = argc == 3 ? argv[2] : kDefaultFontDir;

    FontLibrary library;
    if (!library.up) {
        std::fprintf(stderr, "arcade-pictures: cannot start the font library\n");
        return 1;
    }
    Fonts fonts(fontDir);
    if (!fonts.AllOpen()) {
        std::fprintf(stderr, "arcade-pictures: cannot open the fonts in %s\n", fontDir.c_str());
        return 1;
    }

    const Picture pictures[] = {
        {"canon.png", Kind::Sprite, [](const Fonts&) { return DrawCannon(); }},
        {"airplane.png", Kind::Sprite,
         [](const Fonts&) { return DrawAirplane(RaiderColours(), Facing::Right); }},
        {"airplane2.png", Kind::Sprite,
         [](const Fonts&) { return DrawAirplane(HunterColours(), Facing::Left); }},
        {"shield.png", Kind::Sprite, [](const Fonts&) { return DrawShield(); }},
        {"bullet.png", Kind::Sprite, [](const Fonts&) { return DrawBullet(); }},
        {"bomb.png", Kind::Sprite, [](const Fonts&) { return DrawBomb(); }},
        {"bg.png", Kind::Screen, DrawPlayfield},
        {"menu.png", Kind::Screen, DrawMenu},
        {"gameover.png", Kind::Screen, DrawGameOver},
        {"addscorebg.png", Kind::Screen, DrawAddScore},
        {"showscorebg.png", Kind::Screen, DrawShowScore},
    };
    int failures = 0;
    for (const Picture& picture : pictures) {
        Canvas canvas = picture.draw(fonts);
        std::string path = outputDir + "/" + picture.file;
        if (const char* fault = Fault(canvas, picture.kind)) {
            std::fprintf(stderr, "arcade-pictures: %s has %s\n", picture.file, fault);
            ++failures;
        } else if (!WritePng(canvas, path)) {
            std::fprintf(stderr, "arcade-pictures: cannot write %s\n", path.c_str());
            ++failures;
        } else {
            std::printf("%-16s %3dx%d\n", picture.file, canvas.Width(), canvas.Height());
        }
    }

    const Canvas icon = DrawIcon();
    const std::string iconDir = outputDir + "/icons";
    std::error_code unmade;
    std::filesystem::create_directories(iconDir, unmade);
    for (int size : kIconSizes) {
        const std::string path = iconDir + "/arcade-game-" + std::to_string(size) + ".png";
        if (!WriteRgbaPng(ShrinkIcon(icon, size), size, path)) {
            std::fprintf(stderr, "arcade-pictures: cannot write %s\n", path.c_str());
            ++failures;
        } else {
            std::printf("icons/%-10s %3dx%d\n",
                        ("arcade-game-" + std::to_string(size) + ".png").c_str(), size, size);
        }
    }
    return failures == 0 ? 0 : 1;
}
