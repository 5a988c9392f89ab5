#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The game's font at one point size as the desktop's font library renders it: the font's
// ascent and height, every Latin-1 character's box, advance and coverage, and the kerning of
// each pair. Made by web/glyphs at build time, so that the browser draws every line of text
// with exactly the desktop's pixels and needs no font of its own.
class GlyphAtlas {
  public:
    // The size wanted from an atlas file's bytes; none when they are no atlas, are cut short or
    // hold no such size.
    static std::optional<GlyphAtlas> Read(const std::vector<std::uint8_t>& file, int pointSize);

    struct Size {
        int width = 0;
        int height = 0;
    };
    // The box of a line: from the leftmost ink or pen position to the rightmost, and at least the
    // font's height, taller where a glyph reaches further below.
    Size Measure(const char* text) const;
    // The line drawn into a box of that size: every pixel the colour (0xRRGGBB), with the
    // coverage of the glyphs over it as alpha (the top byte), rows from the top. Glyphs that
    // overlap add their coverage bits together, and a glyph wider than what is left of its row
    // goes on at the start of the next, as on the desktop.
    std::vector<std::uint32_t> Draw(const char* text, std::uint32_t colour, Size size) const;

    int Height() const { return height; }

  private:
    struct Glyph {
        int index;  // the font's glyph number; 0 where the font has none for the character
        int minx, maxx, miny, maxy, advance;
        int width, rows;
        std::size_t offset;  // into coverage
    };
    int Kerning(unsigned char left, unsigned char right) const;

    int ascent = 0;
    int height = 0;
    bool kerned = false;
    std::vector<Glyph> glyphs;  // by character code
    // The pairs that kern, by left code * 256 + right code, in order: a few dozen in a font.
    std::vector<std::pair<unsigned, int>> kerns;
    std::vector<std::uint8_t> coverage;
};
