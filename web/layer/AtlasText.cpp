// The browser's TextRenderer (src/gfx/TextRenderer.h): lines drawn with exactly the desktop's
// pixels. The browser has neither the desktop's FreeType nor its font: the build renders every
// glyph the game can draw with them into a glyph atlas beside the game's files, and a line is put
// together from that atlas here the way the desktop's font library puts it together. The atlas of
// a font file goes by the file's name with .glyphs in place of its extension: arial.glyphs for
// arial.ttf.
#include <SDL.h>
#include <emscripten.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GlyphAtlas.h"
#include "gfx/TextRenderer.h"

namespace {
std::string AtlasName(const std::string& fontFile) {
    const std::size_t dot = fontFile.rfind('.');
    const std::size_t slash = fontFile.rfind('/');
    const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (extension ? fontFile.substr(0, dot) : fontFile) + ".glyphs";
}

std::vector<std::uint8_t> ReadWhole(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    std::uint8_t block[16384];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
    }
    std::fclose(file);
    return bytes;
}

// clang-format off
// The desktop blends a line over what is beneath it with its own arithmetic, which the canvas's
// compositing does not share; a line is marked so that its copies take the desktop's way.
EM_JS(void, MarkAsLine, (SDL_Surface* surface), { SDL.surfaces[surface].blendAsDesktop = true; });
// clang-format on

class AtlasText : public TextRenderer {
  public:
    explicit AtlasText(GlyphAtlas glyphs) : glyphs(std::move(glyphs)) {}

    SDL_Surface* Render(const char* text, SDL_Color colour) const override {
        // The desktop's library makes nothing of a line without width, and neither does this.
        const GlyphAtlas::Size size = glyphs.Measure(text);
        if (size.width == 0) {
            return nullptr;
        }
        const std::uint32_t rgb = colour.r << 16 | colour.g << 8 | colour.b;
        const std::vector<std::uint32_t> line = glyphs.Draw(text, rgb, size);
        // The browser's surfaces hold red, green, blue and alpha bytes in that order.
        SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, size.width, size.height, 32,
                                                    0x000000ff, 0x0000ff00, 0x00ff0000, 0xff000000);
        if (surface == nullptr || SDL_LockSurface(surface) != 0) {
            SDL_FreeSurface(surface);
            return nullptr;
        }
        for (int y = 0; y < size.height; ++y) {
            auto* row = reinterpret_cast<std::uint8_t*>(static_cast<char*>(surface->pixels) +
                                                        y * surface->pitch);
            for (int x = 0; x < size.width; ++x) {
                const std::uint32_t pixel = line[static_cast<std::size_t>(y * size.width + x)];
                row[x * 4] = pixel >> 16 & 0xff;
                row[x * 4 + 1] = pixel >> 8 & 0xff;
                row[x * 4 + 2] = pixel & 0xff;
                row[x * 4 + 3] = pixel >> 24;
            }
        }
        SDL_UnlockSurface(surface);
        MarkAsLine(surface);
        return surface;
    }

    int WidthOf(const char* text) const override { return glyphs.Measure(text).width; }

  private:
    GlyphAtlas glyphs;
};

}  // namespace

std::unique_ptr<TextRenderer> OpenTextRenderer(const char* fontFile, int pointSize,
                                               std::string& reason) {
    const std::string atlas = AtlasName(fontFile);
    std::optional<GlyphAtlas> glyphs = GlyphAtlas::Read(ReadWhole(atlas), pointSize);
    if (!glyphs) {
        reason = atlas + " holds no glyphs at " + std::to_string(pointSize) + " points";
        return nullptr;
    }
    return std::make_unique<AtlasText>(std::move(*glyphs));
}
