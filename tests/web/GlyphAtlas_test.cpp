// The browser's text against the desktop's font library: the same font at the same size, drawn
// once through the glyph atlas and once by the library itself, must give the same pixels.
#include "GlyphAtlas.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "gfx/SdlPtr.h"

namespace {
constexpr int kPointSize = 22;
constexpr std::uint32_t kMagenta = 0xff00ff;

std::vector<std::uint8_t> AtlasFile() {
    std::ifstream file(ARCADE_GLYPH_ATLAS, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class AtlasText : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(TTF_Init(), 0); }
    static void TearDownTestSuite() { TTF_Quit(); }

    // Where the atlas's line differs from the library's, said in a few words; empty where not.
    std::string Difference(const std::string& text) {
        SurfacePtr wanted(TTF_RenderText_Blended(font.get(), text.c_str(), {255, 0, 255, 0}));
        int width = 0;
        int height = 0;
        const int sized = TTF_SizeText(font.get(), text.c_str(), &width, &height);
        const GlyphAtlas::Size size = atlas->Measure(text.c_str());
        if (sized != 0 || size.width != width || size.height != height) {
            return "measured " + std::to_string(size.width) + "x" + std::to_string(size.height) +
                   " for " + std::to_string(width) + "x" + std::to_string(height);
        }
        if (wanted == nullptr) {
            return size.width == 0 ? "" : "drawn where the library draws nothing";
        }
        const std::vector<std::uint32_t> drawn = atlas->Draw(text.c_str(), kMagenta, size);
        for (int y = 0; y < wanted->h; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                static_cast<const std::uint8_t*>(wanted->pixels) + y * wanted->pitch);
            for (int x = 0; x < wanted->w; ++x) {
                if (row[x] != drawn[static_cast<std::size_t>(y * size.width + x)]) {
                    return "pixel " + std::to_string(x) + "," + std::to_string(y);
                }
            }
        }
        return "";
    }

    FontPtr font{TTF_OpenFont(ARCADE_FONT_FILE, kPointSize)};
    std::optional<GlyphAtlas> atlas = GlyphAtlas::Read(AtlasFile(), kPointSize);
};
}  // namespace

// Every pair covers each glyph alone at the start of a line (where one that reaches left of the
// pen moves the line), every kerning pair and every overlap of two glyphs; whole lines add the
// pen's long run, and the list's own rows.
TEST_F(AtlasText, EveryPairAndLineOfLatin1IsTheFontLibrarysOwn) {
    ASSERT_NE(font, nullptr);
    ASSERT_TRUE(atlas.has_value());
    int differing = 0;
    std::string first;
    std::string all;
    for (int left = 1; left < 256; ++left) {
        all += static_cast<char>(left);
        for (int right = 1; right < 256; ++right) {
            const std::string pair{static_cast<char>(left), static_cast<char>(right)};
            const std::string difference = Difference(pair);
            if (!difference.empty() && differing++ == 0) {
                first =
                    "(" + std::to_string(left) + ", " + std::to_string(right) + "): " + difference;
            }
        }
    }
    EXPECT_EQ(differing, 0) << "pairs differ, first " << first;
    for (const std::string& line :
         {all, std::string("223 points - Ann B"), std::string("jWAVE Tyrannosaurus ff\xe6\xff"),
          std::string(" "), std::string("17 points - WWWWWWWWWWWWWWWWW")}) {
        EXPECT_EQ(Difference(line), "") << line;
    }
}

// A file cut short, or one whose glyphs point past its coverage, is no atlas: reading it must
// neither run past its end nor hand out a font that would.
TEST_F(AtlasText, AnAtlasCutShortOrPointingPastItsEndIsNone) {
    const std::vector<std::uint8_t> whole = AtlasFile();
    ASSERT_TRUE(GlyphAtlas::Read(whole, kPointSize).has_value());
    EXPECT_FALSE(GlyphAtlas::Read(whole, kPointSize + 1).has_value()) << "a size it does not hold";
    for (const std::size_t length : {std::size_t{0}, std::size_t{10}, std::size_t{30},
                                     std::size_t{3000}, whole.size() / 2, whole.size() - 1}) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + long(length));
        EXPECT_FALSE(GlyphAtlas::Read(cut, kPointSize).has_value()) << length << " bytes";
    }
    // The first glyph's offset (code 0), past the whole coverage.
    std::vector<std::uint8_t> pointing = whole;
    const std::size_t offset = 14 + 2 + 9 + 16;
    for (std::size_t i = 0; i < 4; ++i) {
        pointing[offset + i] = 0xff;
    }
    EXPECT_FALSE(GlyphAtlas::Read(pointing, kPointSize).has_value());
}
