// Lines of text in the browser, drawn with exactly the desktop's pixels. The browser has neither
// the desktop's FreeType nor its font: the build renders every glyph the game can draw with them
// into a glyph atlas beside the game's files, and a line is put together from that atlas here the
// way the desktop's font library puts it together. The atlas of a font file goes by the file's
// name with .glyphs in place of its extension: arial.glyphs for arial.ttf.
#include <SDL_ttf.h>
#include <emscripten.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GlyphAtlas.h"
#include "SdlWeb.h"

struct _TTF_Font {
    GlyphAtlas glyphs;
};

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
}  // namespace

extern "C" TTF_Font* TTF_OpenFont(const char* file, int ptsize) {
    if (file == nullptr) {
        SDL_SetError("no font file named");
        return nullptr;
    }
    const std::string atlas = AtlasName(file);
    std::optional<GlyphAtlas> glyphs = GlyphAtlas::Read(ReadWhole(atlas), ptsize);
    if (!glyphs) {
        SDL_SetError("%s holds no glyphs at %d points", atlas.c_str(), ptsize);
        return nullptr;
    }
    return new TTF_Font{std::move(*glyphs)};
}

extern "C" void TTF_CloseFont(TTF_Font* font) {
    delete font;
}

extern "C" int TTF_FontHeight(const TTF_Font* font) {
    return font != nullptr ? font->glyphs.Height() : 0;
}

extern "C" int TTF_SizeText(TTF_Font* font, const char* text, int* w, int* h) {
    if (font == nullptr || text == nullptr) {
        return -1;
    }
    const GlyphAtlas::Size size = font->glyphs.Measure(text);
    if (w != nullptr) {
        *w = size.width;
    }
    if (h != nullptr) {
        *h = size.height;
    }
    return 0;
}

extern "C" SDL_Surface* TTF_RenderText_Blended(TTF_Font* font, const char* text, SDL_Color colour) {
    if (font == nullptr || text == nullptr) {
        return nullptr;
    }
    // The desktop's library makes nothing of a line without width, and neither does this.
    const GlyphAtlas::Size size = font->glyphs.Measure(text);
    if (size.width == 0) {
        SDL_SetError("Text has zero width");
        return nullptr;
    }
    const std::uint32_t rgb = colour.r << 16 | colour.g << 8 | colour.b;
    const std::vector<std::uint32_t> line = font->glyphs.Draw(text, rgb, size);
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
