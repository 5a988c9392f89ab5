#include "screens/ShortenToFit.h"

#include <cstddef>

#include "gfx/Text.h"

namespace {
constexpr const char* kEllipsis = "...";
}  // namespace

std::string ShortenToFit(const Text& text, const std::string& line, int width) {
    const std::string drawn(line.c_str());
    if (text.WidthOf(drawn.c_str()) <= width) {
        return drawn;
    }
    auto fits = [&](std::size_t length) {
        return text.WidthOf((drawn.substr(0, length) + kEllipsis).c_str()) <= width;
    };
    // Each letter more makes a line wider, so the longest beginning that fits is found by
    // halving; the one kept has been measured to fit whatever the font's kerning does.
    std::size_t fitting = 0;
    std::size_t tooLong = drawn.size();
    while (tooLong - fitting > 1) {
        const std::size_t middle = fitting + (tooLong - fitting) / 2;
        (fits(middle) ? fitting : tooLong) = middle;
    }
    // "ALEXANDER..." reads better than "ALEXANDER ...".
    while (fitting > 0 && drawn[fitting - 1] == ' ') {
        --fitting;
    }
    return drawn.substr(0, fitting) + kEllipsis;
}
