#include "engine/SharpScale.h"

#include <algorithm>

#include "engine/PixelAccess.h"

namespace {
using Tap = SharpScale::Tap;

// weight of a, kWhole - weight of b, for each of the four 8-bit channels at once: red and blue
// in one multiply, green and alpha in another.
inline std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int weight) {
    const auto w = static_cast<std::uint32_t>(weight);
    const std::uint32_t rest = SharpScale::kWhole - w;
    const std::uint32_t redBlue = ((a & 0x00FF00FFu) * w + (b & 0x00FF00FFu) * rest) >> 8;
    const std::uint32_t greenAlpha = ((a >> 8) & 0x00FF00FFu) * w + ((b >> 8) & 0x00FF00FFu) * rest;
    return (redBlue & 0x00FF00FFu) | (greenAlpha & 0xFF00FF00u);
}
}  // namespace

std::vector<Tap> SharpScale::Taps(int from, int to) {
    // In units of 1 / to of a pixel of the picture, result pixel d covers [d * from, (d + 1) *
    // from). Shown larger (from < to) that is less than one pixel: at most two pixels share it.
    std::vector<Tap> taps(static_cast<std::size_t>(std::max(to, 0)));
    for (int d = 0; d < to; ++d) {
        const long start = static_cast<long>(d) * from;
        const long end = start + from;
        const int first = static_cast<int>(start / to);
        const long boundary = static_cast<long>(first + 1) * to;
        Tap& tap = taps[static_cast<std::size_t>(d)];
        tap.first = first;
        tap.weight = end <= boundary
                         ? kWhole
                         : static_cast<int>(((boundary - start) * kWhole + from / 2) / from);
    }
    return taps;
}

SharpScale::SharpScale(int fromWidth, int fromHeight, int toWidth, int toHeight)
    : fromWidth(fromWidth),
      fromHeight(fromHeight),
      toWidth(toWidth),
      toHeight(toHeight),
      across(Taps(fromWidth, toWidth)),
      down(Taps(fromHeight, toHeight)),
      widened(static_cast<std::size_t>(std::max(fromHeight, 0)) *
              static_cast<std::size_t>(std::max(toWidth, 0))) {}

void SharpScale::Draw(SDL_Surface& from, SDL_Surface& to, int left, int top) {
    if (from.w != fromWidth || from.h != fromHeight || from.format->BytesPerPixel != 4 ||
        to.format->BytesPerPixel != 4 || left < 0 || top < 0 || left + toWidth > to.w ||
        top + toHeight > to.h || toWidth < fromWidth || toHeight < fromHeight) {
        return;
    }
    PixelAccess reading(from);
    PixelAccess writing(to);
    if (!reading.Ok() || !writing.Ok()) {
        return;
    }
    const int lastColumn = fromWidth - 1;
    for (int y = 0; y < fromHeight; ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(
            static_cast<const Uint8*>(from.pixels) + y * from.pitch);
        std::uint32_t* out = widened.data() + static_cast<std::size_t>(y) * toWidth;
        for (int x = 0; x < toWidth; ++x) {
            const Tap& tap = across[static_cast<std::size_t>(x)];
            out[x] = Mix(in[tap.first], in[std::min(tap.first + 1, lastColumn)], tap.weight);
        }
    }
    const int lastRow = fromHeight - 1;
    for (int y = 0; y < toHeight; ++y) {
        const Tap& tap = down[static_cast<std::size_t>(y)];
        const std::uint32_t* upper = widened.data() + static_cast<std::size_t>(tap.first) * toWidth;
        const std::uint32_t* lower =
            widened.data() + static_cast<std::size_t>(std::min(tap.first + 1, lastRow)) * toWidth;
        auto* out = reinterpret_cast<std::uint32_t*>(static_cast<Uint8*>(to.pixels) +
                                                     (top + y) * to.pitch) +
                    left;
        for (int x = 0; x < toWidth; ++x) {
            out[x] = Mix(upper[x], lower[x], tap.weight);
        }
    }
}
