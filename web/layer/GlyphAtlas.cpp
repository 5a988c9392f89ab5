#include "GlyphAtlas.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "../glyphs/AtlasFormat.h"

namespace {

// Reads the atlas's little-endian numbers, and says afterwards whether it ran out of bytes.
class Reader {
  public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes(bytes) {}

    bool Take(const char* expected, std::size_t count) {
        if (!Has(count) || std::memcmp(bytes.data() + at, expected, count) != 0) {
            short_ = true;
            return false;
        }
        at += count;
        return true;
    }
    unsigned U8() { return Has(1) ? bytes[at++] : 0; }
    unsigned U16() {
        const unsigned low = U8();
        return low | U8() << 8;
    }
    int I16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32() {
        const std::uint32_t low = U16();
        return low | static_cast<std::uint32_t>(U16()) << 16;
    }
    // Steps over count bytes; where they start, or nothing when there are fewer left.
    std::optional<std::size_t> Skip(std::size_t count) {
        if (!Has(count)) {
            return std::nullopt;
        }
        at += count;
        return at - count;
    }
    bool Short() const { return short_; }

  private:
    bool Has(std::size_t count) {
        if (bytes.size() - at < count) {
            short_ = true;
            return false;
        }
        return true;
    }

    const std::vector<std::uint8_t>& bytes;
    std::size_t at = 0;
    bool short_ = false;
};
}  // namespace

std::optional<GlyphAtlas> GlyphAtlas::Read(const std::vector<std::uint8_t>& file, int pointSize) {
    Reader in(file);
    if (!in.Take(kAtlasMagic, sizeof kAtlasMagic - 1)) {
        return std::nullopt;
    }
    for (unsigned sizes = in.U16(); sizes > 0 && !in.Short(); --sizes) {
        GlyphAtlas atlas;
        const int size = in.I16();
        atlas.ascent = in.I16();
        in.I16();  // the descent, which the height holds already
        atlas.height = in.I16();
        atlas.kerned = in.U8() != 0;
        for (int code = 0; code < kAtlasCodes; ++code) {
            Glyph glyph{};
            glyph.index = static_cast<int>(in.U16());
            glyph.minx = in.I16();
            glyph.maxx = in.I16();
            glyph.miny = in.I16();
            glyph.maxy = in.I16();
            glyph.advance = in.I16();
            glyph.width = static_cast<int>(in.U16());
            glyph.rows = static_cast<int>(in.U16());
            glyph.offset = in.U32();
            atlas.glyphs.push_back(glyph);
        }
        for (std::uint32_t pairs = in.U32(); pairs > 0 && !in.Short(); --pairs) {
            const unsigned left = in.U8();
            const unsigned right = in.U8();
            atlas.kerns.emplace_back(left * kAtlasCodes + right, in.I16());
        }
        std::sort(atlas.kerns.begin(), atlas.kerns.end());
        const std::uint32_t bytes = in.U32();
        const std::optional<std::size_t> start = in.Skip(bytes);
        if (!start || in.Short()) {
            return std::nullopt;
        }
        // A glyph whose coverage lies outside the atlas's would be read from beyond it.
        for (const Glyph& glyph : atlas.glyphs) {
            if (glyph.offset + static_cast<std::size_t>(glyph.width) * glyph.rows > bytes) {
                return std::nullopt;
            }
        }
        if (size == pointSize) {
            atlas.coverage.assign(file.begin() + static_cast<long>(*start),
                                  file.begin() + static_cast<long>(*start + bytes));
            return atlas;
        }
    }
    return std::nullopt;
}

int GlyphAtlas::Kerning(unsigned char left, unsigned char right) const {
    if (!kerned) {
        return 0;
    }
    const unsigned pair = left * kAtlasCodes + right;
    const auto found = std::lower_bound(kerns.begin(), kerns.end(), std::make_pair(pair, INT_MIN));
    return found != kerns.end() && found->first == pair ? found->second : 0;
}

GlyphAtlas::Size GlyphAtlas::Measure(const char* text) const {
    int minx = 0;
    int maxx = 0;
    int miny = 0;
    int x = 0;
    unsigned char previous = 0;
    bool first = true;
    for (const char* at = text; *at != '\0'; ++at) {
        const auto code = static_cast<unsigned char>(*at);
        const Glyph& glyph = glyphs[code];
        if (!first && glyphs[previous].index != 0 && glyph.index != 0) {
            x += Kerning(previous, code);
        }
        minx = std::min(minx, x + glyph.minx);
        maxx = std::max(maxx, x + std::max(glyph.advance, glyph.maxx));
        miny = std::min(miny, glyph.miny);
        x += glyph.advance;
        previous = code;
        first = false;
    }
    return {maxx - minx, std::max(height, ascent - miny)};
}

std::vector<std::uint32_t> GlyphAtlas::Draw(const char* text, std::uint32_t colour,
                                            Size size) const {
    const auto pixels = static_cast<long>(size.width) * size.height;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(pixels), colour & 0xffffff);
    int x = 0;
    unsigned char previous = 0;
    for (const char* at = text; *at != '\0'; ++at) {
        const auto code = static_cast<unsigned char>(*at);
        const Glyph& glyph = glyphs[code];
        if (at != text && glyphs[previous].index != 0 && glyph.index != 0) {
            x += Kerning(previous, code);
        }
        // A first glyph that reaches left of the pen moves the whole line right, into the box
        // that was measured for it.
        if (at == text && glyph.minx < 0) {
            x -= glyph.minx;
        }
        const int columns = std::min(glyph.width, glyph.maxx - glyph.minx);
        const int top = ascent - glyph.maxy;
        for (int row = 0; row < glyph.rows; ++row) {
            const int y = top + row;
            if (y < 0 || y >= size.height) {
                continue;
            }
            const std::uint8_t* from = coverage.data() + glyph.offset + row * glyph.width;
            long to = static_cast<long>(y) * size.width + x + glyph.minx;
            for (int column = 0; column < columns; ++column, ++to) {
                // The box holds every glyph; what could fall outside it is left out rather than
                // written beyond the line.
                if (to >= 0 && to < pixels) {
                    line[static_cast<std::size_t>(to)] |= static_cast<std::uint32_t>(from[column])
                                                          << 24;
                }
            }
        }
        x += glyph.advance;
        previous = code;
    }
    return line;
}
