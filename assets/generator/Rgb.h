#pragma once

#include <cstdint>
#include <cstdlib>

// One opaque pixel. Pictures carry no alpha: the game treats one exact colour as see-through.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
    friend bool operator!=(Rgb a, Rgb b) { return !(a == b); }
};

// The game's transparent colour.
constexpr Rgb kKey{255, 128, 0};

// How close, channel by channel, a visible colour may come to the key before it reads as a
// smudge of the key on screen.
constexpr int kNearKeyReach = 40;

// A colour that is almost, but not exactly, the key: it would show as an orange fringe.
inline bool IsNearKey(Rgb c) {
    return c != kKey && std::abs(c.r - kKey.r) <= kNearKeyReach &&
           std::abs(c.g - kKey.g) <= kNearKeyReach && std::abs(c.b - kKey.b) <= kNearKeyReach;
}

// The colour the game writes its own text in. Lettering on the pictures keeps well away from it,
// so the game's words never blend into the picture's.
constexpr Rgb kGameText{255, 0, 255};

inline bool IsNearGameText(Rgb c) {
    return std::abs(c.r - kGameText.r) <= kNearKeyReach &&
           std::abs(c.g - kGameText.g) <= kNearKeyReach &&
           std::abs(c.b - kGameText.b) <= kNearKeyReach;
}

// Straight mix of two colours, weight 0 giving a and 255 giving b.
inline Rgb Mix(Rgb a, Rgb b, int weight) {
    auto channel = [weight](int x, int y) {
        return static_cast<std::uint8_t>((x * (255 - weight) + y * weight + 127) / 255);
    };
    return Rgb{channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}
