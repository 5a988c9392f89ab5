#include "Mask.h"

#include <algorithm>

namespace {
// A pixel at least this much covered counts as part of a blocky letter.
constexpr int kSolidCoverage = 110;
}  // namespace

Mask::Mask(int width, int height)
    : width(width), height(height), coverage(static_cast<size_t>(width) * height, 0) {}

int Mask::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return 0;
    }
    return coverage[static_cast<size_t>(y) * width + x];
}

void Mask::Set(int x, int y, int value) {
    if (x >= 0 && y >= 0 && x < width && y < height) {
        coverage[static_cast<size_t>(y) * width + x] =
            static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }
}

Mask Mask::Grown(int radius) const {
    Mask grown(width + 2 * radius, height + 2 * radius);
    for (int y = 0; y < grown.height; ++y) {
        for (int x = 0; x < grown.width; ++x) {
            int most = 0;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    // A round brush keeps the rim's corners soft rather than square.
                    if (dx * dx + dy * dy <= radius * radius + radius) {
                        most = std::max(most, At(x - radius + dx, y - radius + dy));
                    }
                }
            }
            grown.Set(x, y, most);
        }
    }
    return grown;
}

Mask Mask::Blocky(int factor) const {
    Mask blocky(width * factor, height * factor);
    for (int y = 0; y < blocky.height; ++y) {
        for (int x = 0; x < blocky.width; ++x) {
            blocky.Set(x, y, At(x / factor, y / factor) >= kSolidCoverage ? 255 : 0);
        }
    }
    return blocky;
}

Mask Mask::Trimmed() const {
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (At(x, y) > 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return Mask(0, 0);
    }
    Mask trimmed(right - left + 1, bottom - top + 1);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            trimmed.Set(x - left, y - top, At(x, y));
        }
    }
    return trimmed;
}
