#include "Icon.h"

#include <algorithm>
#include <cmath>

#include "Scenery.h"
#include "Sprites.h"

namespace {
constexpr int kTileMargin = 8;
constexpr int kTileSize = kIconDrawnSize - 2 * kTileMargin;
constexpr int kCornerRadius = 36;
constexpr int kRimWidth = 4;
constexpr int kGroundTopInTile = 202;
constexpr Rgb kRim{60, 170, 220};
constexpr Rgb kGrassEdge{90, 200, 100};
constexpr Rgb kSoil{34, 30, 44};

// Every sprite pixel becomes a square of factor by factor pixels: the game's chunky look.
Canvas Enlarged(const Canvas& sprite, int factor) {
    Canvas big(sprite.Width() * factor, sprite.Height() * factor, kKey);
    for (int y = 0; y < big.Height(); ++y) {
        for (int x = 0; x < big.Width(); ++x) {
            big.Plot(x, y, sprite.At(x / factor, y / factor));
        }
    }
    return big;
}

// Distance of a tile pixel outside the rounded square's inner rectangle, by which the corners
// are cut.
double CornerDistance(int x, int y) {
    const double inner = kTileSize - 1 - kCornerRadius;
    const double dx = std::max({0.0, kCornerRadius - x * 1.0, x - inner});
    const double dy = std::max({0.0, kCornerRadius - y * 1.0, y - inner});
    return std::sqrt(dx * dx + dy * dy);
}

// How much of the span [from, from + length) covers source pixel i.
double Overlap(int i, double from, double length) {
    return std::max(0.0, std::min(i + 1.0, from + length) - std::max(i * 1.0, from));
}
}  // namespace

Canvas DrawIcon() {
    Canvas tile(kTileSize, kTileSize, kKey);
    DrawSky(tile, 0, kGroundTopInTile - 1);
    DrawStars(tile, 0, 0, kTileSize, 150, 26, 5);
    DrawMoon(tile, 186, 56, 22);
    tile.FillRect(0, kGroundTopInTile, kTileSize, 4, kGrassEdge);
    tile.FillRect(0, kGroundTopInTile + 4, kTileSize, kTileSize - kGroundTopInTile - 4, kSoil);

    tile.Paste(Enlarged(DrawAirplane(RaiderColours(), Facing::Right), 2), 10, 22);
    const Canvas cannon = Enlarged(DrawCannon(), 2);
    const int cannonX = (kTileSize - cannon.Width()) / 2;
    const Canvas bullet = Enlarged(DrawBullet(), 2);
    const int bulletX = cannonX + (cannon.Width() - bullet.Width()) / 2;
    tile.Paste(bullet, bulletX, 92);
    tile.Paste(bullet, bulletX, 122);
    tile.Paste(Enlarged(DrawBomb(), 2), 52, 132);
    tile.Paste(cannon, cannonX, kGroundTopInTile - 78);

    Canvas icon(kIconDrawnSize, kIconDrawnSize, kKey);
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            const double out = CornerDistance(x, y);
            const bool onRim = x < kRimWidth || y < kRimWidth || x >= kTileSize - kRimWidth ||
                               y >= kTileSize - kRimWidth || out > kCornerRadius - kRimWidth;
            if (out <= kCornerRadius) {
                icon.Plot(kTileMargin + x, kTileMargin + y, onRim ? kRim : tile.At(x, y));
            }
        }
    }
    return icon;
}

std::vector<Rgba> ShrinkIcon(const Canvas& icon, int size) {
    const double span = static_cast<double>(icon.Width()) / size;
    std::vector<Rgba> shrunk;
    shrunk.reserve(static_cast<size_t>(size) * size);
    for (int dy = 0; dy < size; ++dy) {
        for (int dx = 0; dx < size; ++dx) {
            // Colours are summed weighted by coverage, so transparent pixels add no colour.
            double r = 0, g = 0, b = 0, covered = 0;
            const int firstY = static_cast<int>(dy * span);
            const int firstX = static_cast<int>(dx * span);
            for (int y = firstY; y < icon.Height() && y < (dy + 1) * span; ++y) {
                const double wy = Overlap(y, dy * span, span);
                for (int x = firstX; x < icon.Width() && x < (dx + 1) * span; ++x) {
                    const Rgb c = icon.At(x, y);
                    if (c == kKey) {
                        continue;
                    }
                    const double w = wy * Overlap(x, dx * span, span);
                    r += c.r * w;
                    g += c.g * w;
                    b += c.b * w;
                    covered += w;
                }
            }
            auto channel = [covered](double sum) {
                return static_cast<std::uint8_t>(covered > 0 ? std::lround(sum / covered) : 0);
            };
            shrunk.push_back(
                Rgba{channel(r), channel(g), channel(b),
                     static_cast<std::uint8_t>(std::lround(255 * covered / (span * span)))});
        }
    }
    return shrunk;
}
