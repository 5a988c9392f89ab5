// Renders every character the game can draw, Latin-1, at each point size given, the way the
// desktop's font library renders a line of blended text, and writes the glyphs and their metrics
// into one small file for the browser, which composes its lines from them pixel for pixel.
//
// usage: arcade-glyph-atlas FONT_FILE ATLAS_FILE POINT_SIZE...
//
// The file, all numbers little-endian:
//   "ARCADEGLYPHS1\n", u16 number of sizes, then for each size:
//   i16 point size, ascent, descent, height; u8 kerning used (0 or 1);
//   256 glyphs by character code: u16 glyph index (0: the font has none), i16 minx, maxx, miny,
//     maxy, advance, u16 bitmap width, rows, u32 bitmap offset;
//   u32 number of kerning pairs, each u8 left code, u8 right code, i16 pixels;
//   u32 bitmap bytes, then the bitmaps, row after row of coverage bytes.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "AtlasFormat.h"

namespace {

// FreeType's 26.6 fixed point to whole pixels, rounded as the font library rounds them.
long Floor(FT_Pos x) {
    return (x & -64) / 64;
}
long Ceil(FT_Pos x) {
    return ((x + 63) & -64) / 64;
}

class Writer {
  public:
    void U8(unsigned v) { bytes.push_back(static_cast<char>(v & 0xff)); }
    void U16(unsigned v) {
        U8(v);
        U8(v >> 8);
    }
    void I16(long v) {
        if (v < -32768 || v > 32767) {
            Fail("a metric out of range");
        }
        U16(static_cast<unsigned>(v) & 0xffff);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xffff);
        U16(v >> 16);
    }
    void Bytes(const std::vector<unsigned char>& more) { bytes.append(more.begin(), more.end()); }
    static void Fail(const std::string& what) {
        std::fprintf(stderr, "arcade-glyph-atlas: %s\n", what.c_str());
        std::exit(1);
    }

    std::string bytes;
};

void Check(FT_Error error, const std::string& what) {
    if (error != 0) {
        Writer::Fail(what + " failed (FreeType error " + std::to_string(error) + ")");
    }
}

// The first Unicode character map, as the font library picks it; FreeType's own pick otherwise.
void PickCharacterMap(FT_Face face) {
    for (int i = 0; i < face->num_charmaps; ++i) {
        const FT_CharMap map = face->charmaps[i];
        if ((map->platform_id == 3 && map->encoding_id == 1) ||
            (map->platform_id == 3 && map->encoding_id == 0) ||
            (map->platform_id == 2 && map->encoding_id == 1) || map->platform_id == 0) {
            FT_Set_Charmap(face, map);
            return;
        }
    }
}

struct Glyph {
    FT_UInt index = 0;
    long minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
    unsigned width = 0, rows = 0;
    std::uint32_t offset = 0;
};

// One character as the font library loads it: default loading with normal hinting, the box from
// the hinted metrics, and the coverage from rendering the glyph in its slot.
Glyph Render(FT_Face face, unsigned code, std::vector<unsigned char>& pool,
             std::map<FT_UInt, Glyph>& done) {
    const FT_UInt index = FT_Get_Char_Index(face, code);
    const auto found = done.find(index);
    if (found != done.end()) {
        return found->second;
    }
    Check(FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL), "loading a glyph");
    const FT_Glyph_Metrics& metrics = face->glyph->metrics;
    Glyph glyph;
    glyph.index = index;
    glyph.minx = Floor(metrics.horiBearingX);
    glyph.maxx = Ceil(metrics.horiBearingX + metrics.width);
    glyph.maxy = Floor(metrics.horiBearingY);
    glyph.miny = glyph.maxy - Ceil(metrics.height);
    glyph.advance = Ceil(metrics.horiAdvance);
    Check(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL), "rendering a glyph");
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    if (bitmap.rows > 0 && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
        Writer::Fail("a glyph came out in a pixel mode other than 8-bit grey");
    }
    glyph.width = bitmap.width;
    glyph.rows = bitmap.rows;
    glyph.offset = static_cast<std::uint32_t>(pool.size());
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* line = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        pool.insert(pool.end(), line, line + bitmap.width);
    }
    done.emplace(index, glyph);
    return glyph;
}

void WriteSize(Writer& out, FT_Face face, int pointSize) {
    Check(FT_Set_Char_Size(face, 0, pointSize * 64, 0, 0), "setting the point size");
    const FT_Fixed scale = face->size->metrics.y_scale;
    const long ascent = Ceil(FT_MulFix(face->ascender, scale));
    const long descent = Ceil(FT_MulFix(face->descender, scale));
    const bool kerning = FT_HAS_KERNING(face);
    out.I16(pointSize);
    out.I16(ascent);
    out.I16(descent);
    out.I16(ascent - descent + 1);  // the baseline's own row between the two
    out.U8(kerning ? 1 : 0);

    std::vector<unsigned char> pool;
    std::map<FT_UInt, Glyph> done;
    std::vector<Glyph> glyphs;
    for (unsigned code = 0; code < kAtlasCodes; ++code) {
        glyphs.push_back(Render(face, code, pool, done));
        const Glyph& glyph = glyphs.back();
        out.U16(glyph.index);
        out.I16(glyph.minx);
        out.I16(glyph.maxx);
        out.I16(glyph.miny);
        out.I16(glyph.maxy);
        out.I16(glyph.advance);
        out.U16(glyph.width);
        out.U16(glyph.rows);
        out.U32(glyph.offset);
    }

    // Only pairs of two glyphs the font has kern, in whole pixels rounded towards the left.
    Writer pairs;
    std::uint32_t count = 0;
    for (unsigned left = 0; kerning && left < kAtlasCodes; ++left) {
        for (unsigned right = 0; right < kAtlasCodes; ++right) {
            if (glyphs[left].index == 0 || glyphs[right].index == 0) {
                continue;
            }
            FT_Vector delta;
            Check(FT_Get_Kerning(face, glyphs[left].index, glyphs[right].index, FT_KERNING_DEFAULT,
                                 &delta),
                  "kerning");
            const long pixels = delta.x >> 6;
            if (pixels != 0) {
                pairs.U8(left);
                pairs.U8(right);
                pairs.I16(pixels);
                ++count;
            }
        }
    }
    out.U32(count);
    out.bytes += pairs.bytes;
    out.U32(static_cast<std::uint32_t>(pool.size()));
    out.Bytes(pool);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: arcade-glyph-atlas FONT_FILE ATLAS_FILE POINT_SIZE...\n");
        return 2;
    }
    FT_Library library;
    Check(FT_Init_FreeType(&library), "starting FreeType");
    FT_Face face;
    Check(FT_New_Face(library, argv[1], 0, &face), std::string("opening ") + argv[1]);
    if (!FT_IS_SCALABLE(face)) {
        Writer::Fail(std::string(argv[1]) + " is not an outline font");
    }
    PickCharacterMap(face);
    Writer out;
    out.bytes = kAtlasMagic;
    out.U16(static_cast<unsigned>(argc - 3));
    for (int i = 3; i < argc; ++i) {
        const int pointSize = std::atoi(argv[i]);
        if (pointSize <= 0) {
            Writer::Fail(std::string("not a point size: ") + argv[i]);
        }
        WriteSize(out, face, pointSize);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    std::ofstream file(argv[2], std::ios::binary);
    file.write(out.bytes.data(), static_cast<std::streamsize>(out.bytes.size()));
    file.close();
    if (!file) {
        Writer::Fail(std::string("cannot write ") + argv[2]);
    }
    std::printf("%s: %zu bytes\n", argv[2], out.bytes.size());
    return 0;
}
