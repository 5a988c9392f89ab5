#include "engine/Enlarge.h"

#include <cstring>

#include "engine/DisplayRules.h"
#include "engine/PixelAccess.h"

namespace {
// The scale is fixed per copy, so each one gets an inner loop the compiler can unroll.
template <int kScale>
void WidenRow(const Uint32* in, Uint32* out, int width) {
    for (int x = 0; x < width; ++x) {
        const Uint32 pixel = in[x];
        for (int copy = 0; copy < kScale; ++copy) {
            *out++ = pixel;
        }
    }
}

using RowWidener = void (*)(const Uint32*, Uint32*, int);
constexpr RowWidener kWideners[] = {WidenRow<1>, WidenRow<2>, WidenRow<3>, WidenRow<4>,
                                    WidenRow<5>, WidenRow<6>, WidenRow<7>, WidenRow<8>};
static_assert(sizeof kWideners / sizeof kWideners[0] == display::kLargestScale);

}  // namespace

void Enlarge(SDL_Surface& from, SDL_Surface& to, int left, int top, int scale) {
    if (scale < display::kSmallestScale || scale > display::kLargestScale ||
        from.format->BytesPerPixel != 4 || to.format->BytesPerPixel != 4 || left < 0 || top < 0 ||
        left + from.w * scale > to.w || top + from.h * scale > to.h) {
        return;
    }
    PixelAccess reading(from);
    PixelAccess writing(to);
    if (!reading.Ok() || !writing.Ok()) {
        return;
    }
    const RowWidener widen = kWideners[scale - 1];
    const std::size_t rowBytes = static_cast<std::size_t>(from.w) * scale * sizeof(Uint32);
    const auto* in = static_cast<const Uint8*>(from.pixels);
    auto* out = static_cast<Uint8*>(to.pixels) + top * to.pitch + left * sizeof(Uint32);
    for (int y = 0; y < from.h; ++y) {
        widen(reinterpret_cast<const Uint32*>(in), reinterpret_cast<Uint32*>(out), from.w);
        for (int copy = 1; copy < scale; ++copy) {
            std::memcpy(out + copy * to.pitch, out, rowBytes);
        }
        in += from.pitch;
        out += scale * to.pitch;
    }
}
