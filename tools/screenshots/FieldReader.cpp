#include "FieldReader.h"

#include <algorithm>
#include <climits>

namespace {

using facts::kWindowHeight;
using facts::kWindowWidth;

struct Box {
    int left = INT_MAX;
    int right = INT_MIN;
    int top = INT_MAX;
    int bottom = INT_MIN;
    bool Empty() const { return left > right; }
    void Add(int x, int y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
};

Box BoxOf(const Picture& picture, facts::Rgb colour, int fromY, int toY) {
    Box box;
    for (int y = std::max(fromY, 0); y <= std::min(toY, kWindowHeight - 1); ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            if (picture.At(x, y) == colour) {
                box.Add(x, y);
            }
        }
    }
    return box;
}

// The boxes of the separate blobs of one colour below a given row. Pixels a step apart still
// belong together, since one bomb may hide part of the next.
std::vector<Box> BlobsOf(const Picture& picture, facts::Rgb colour, int fromY) {
    std::vector<char> seen(kWindowWidth * kWindowHeight, 0);
    std::vector<Box> blobs;
    std::vector<int> stack;
    constexpr int kReach = 2;
    for (int y = fromY; y < kWindowHeight; ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            if (seen[y * kWindowWidth + x] || picture.At(x, y) != colour) {
                continue;
            }
            Box box;
            stack.assign(1, y * kWindowWidth + x);
            seen[y * kWindowWidth + x] = 1;
            while (!stack.empty()) {
                const int at = stack.back();
                stack.pop_back();
                const int px = at % kWindowWidth;
                const int py = at / kWindowWidth;
                box.Add(px, py);
                for (int ny = std::max(py - kReach, fromY);
                     ny <= std::min(py + kReach, kWindowHeight - 1); ++ny) {
                    for (int nx = std::max(px - kReach, 0);
                         nx <= std::min(px + kReach, kWindowWidth - 1); ++nx) {
                        const int next = ny * kWindowWidth + nx;
                        if (!seen[next] && picture.At(nx, ny) == colour) {
                            seen[next] = 1;
                            stack.push_back(next);
                        }
                    }
                }
            }
            blobs.push_back(box);
        }
    }
    return blobs;
}

}  // namespace

Field FieldReader::Read(const Picture& picture) const {
    Field field;
    field.playing = ShowsPlayScreen(picture);
    if (!field.playing) {
        return field;
    }
    field.cannonSeen = FindCannon(picture, field.cannonX);
    field.red = FindAirplane(picture, facts::kRedAirplane);
    field.blue = FindAirplane(picture, facts::kBlueAirplane);
    field.bombs = FindBombs(picture);
    field.bullets = FindBullets(picture);
    field.shields = FindShields(picture);
    field.level = LevelFromShields(field.shields);
    return field;
}

bool FieldReader::ShowsPlayScreen(const Picture& picture) const {
    // Only bullets cross the line, and a few of them hide far less than a quarter of it.
    int count = 0;
    for (int x = 0; x < kWindowWidth; ++x) {
        count += picture.At(x, facts::kHudLineY) == facts::kHudLine ? 1 : 0;
    }
    return count > kWindowWidth * 3 / 4;
}

bool FieldReader::FindCannon(const Picture& picture, int& x) const {
    const facts::Mark& mark = facts::kCannonMark;
    const Box box =
        BoxOf(picture, mark.colour, facts::kCannonY + mark.top, facts::kCannonY + mark.bottom);
    if (box.Empty()) {
        return false;
    }
    // The cannon never leaves the window far enough on the left to clip its hull there.
    x = box.left - mark.left;
    return true;
}

SeenAirplane FieldReader::FindAirplane(const Picture& picture,
                                       const facts::AirplaneKind& kind) const {
    SeenAirplane seen;
    const Box box =
        BoxOf(picture, kind.mark.colour, kind.y + kind.mark.top, kind.y + kind.mark.bottom);
    if (box.Empty()) {
        return seen;
    }
    seen.visible = true;
    // Measure from whichever edge is not cut off by the window.
    seen.x = box.left > 0 ? box.left - kind.mark.left : box.right - kind.mark.right;
    return seen;
}

std::vector<SeenBomb> FieldReader::FindBombs(const Picture& picture) const {
    const facts::Mark& fins = facts::kBombFins;
    std::vector<SeenBomb> bombs;
    for (const Box& blob : BlobsOf(picture, fins.colour, facts::kRedAirplane.y)) {
        SeenBomb bomb;
        if (blob.right - blob.left <= fins.right) {
            // One bomb: its left edge lies where all of what shows still fits inside it.
            bomb.x = {blob.right - fins.right, blob.left};
        } else {
            bomb.x = {blob.left - fins.right, blob.right};
        }
        bomb.y = blob.top - fins.top;
        bombs.push_back(bomb);
    }
    return bombs;
}

std::vector<SeenBullet> FieldReader::FindBullets(const Picture& picture) const {
    const facts::Mark& glow = facts::kBulletGlow;
    std::vector<SeenBullet> bullets;
    for (const Box& blob : BlobsOf(picture, glow.colour, 0)) {
        bullets.push_back({blob.left - glow.left, blob.top - glow.top});
    }
    return bullets;
}

std::vector<int> FieldReader::FindShields(const Picture& picture) const {
    const facts::Mark& stripes = facts::kShieldStripes;
    std::vector<bool> column(kWindowWidth, false);
    for (int y = facts::kShieldY + stripes.top; y <= facts::kShieldY + stripes.bottom; ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            if (picture.At(x, y) == stripes.colour) {
                column[x] = true;
            }
        }
    }
    std::vector<int> shields;
    int lastColumn = INT_MIN / 2;
    for (int x = 0; x < kWindowWidth; ++x) {
        if (!column[x]) {
            continue;
        }
        if (x - lastColumn > facts::kShieldWidth - (stripes.right - stripes.left)) {
            shields.push_back(x - stripes.left);
        }
        lastColumn = x;
    }
    return shields;
}

int FieldReader::LevelFromShields(const std::vector<int>& shields) {
    // Two shields in level 1; one in the middle in level 2, one on the right in level 3; none
    // in level 4.
    if (shields.size() >= 2) {
        return 1;
    }
    if (shields.size() == 1) {
        return shields.front() < facts::kWindowWidth / 2 ? 2 : 3;
    }
    return 4;
}
