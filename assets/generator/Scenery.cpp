#include "Scenery.h"

#include <algorithm>
#include <vector>

namespace {
constexpr Rgb kSkyTop{6, 8, 28};
constexpr Rgb kSkyLow{30, 44, 110};
constexpr int kSkySteps = 8;
constexpr Rgb kStarBright{235, 240, 255};
constexpr Rgb kStarPale{160, 180, 235};
constexpr Rgb kStarDim{90, 104, 160};
constexpr Rgb kMoon{232, 236, 210};
constexpr Rgb kMoonShade{180, 186, 170};
constexpr Rgb kFarHills{30, 36, 78};
constexpr Rgb kNearHills{20, 26, 56};
constexpr Rgb kTown{11, 14, 34};
constexpr Rgb kWindowWarm{200, 190, 110};
constexpr Rgb kWindowCool{110, 170, 210};
constexpr Rgb kGrassEdge{90, 200, 100};
constexpr Rgb kGrass{30, 110, 60};
constexpr Rgb kSoil{34, 30, 44};
constexpr Rgb kPebble{66, 62, 80};
constexpr Rgb kPanel{8, 10, 24};
constexpr Rgb kPanelBorder{60, 170, 220};
constexpr Rgb kPanelShadow{2, 2, 8};

// 4 by 4 ordered dither thresholds, 0 to 15.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
}  // namespace

int Scatter::Below(int limit) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(limit));
}

void DrawSky(Canvas& canvas, int top, int bottom) {
    std::vector<Rgb> steps;
    for (int i = 0; i < kSkySteps; ++i) {
        steps.push_back(Mix(kSkyTop, kSkyLow, i * 255 / (kSkySteps - 1)));
    }
    int span = std::max(1, bottom - top);
    for (int y = top; y <= bottom; ++y) {
        // Position between two steps in sixteenths, so the dither can pick one of them.
        int sixteenths = (y - top) * (kSkySteps - 1) * 16 / span;
        int step = std::min(sixteenths / 16, kSkySteps - 2);
        int between = sixteenths - step * 16;
        for (int x = 0; x < canvas.Width(); ++x) {
            canvas.Plot(x, y, between > kBayer[y % 4][x % 4] ? steps[step + 1] : steps[step]);
        }
    }
}

void DrawStars(Canvas& canvas, int x, int y, int w, int h, int count, std::uint32_t seed) {
    Scatter scatter(seed);
    for (int i = 0; i < count; ++i) {
        int sx = x + scatter.Below(w);
        int sy = y + scatter.Below(h);
        int kind = scatter.Below(10);
        if (kind == 0) {
            // A few bright ones twinkle as small crosses.
            canvas.Plot(sx, sy, kStarBright);
            canvas.Plot(sx - 1, sy, kStarPale);
            canvas.Plot(sx + 1, sy, kStarPale);
            canvas.Plot(sx, sy - 1, kStarPale);
            canvas.Plot(sx, sy + 1, kStarPale);
        } else {
            canvas.Plot(sx, sy, kind < 4 ? kStarBright : kind < 7 ? kStarPale : kStarDim);
        }
    }
}

void DrawMoon(Canvas& canvas, int cx, int cy, int radius) {
    // A crescent: the lit disc less a second disc pushed up and to the right.
    int r2 = radius * radius;
    for (int y = cy - radius; y <= cy + radius; ++y) {
        for (int x = cx - radius; x <= cx + radius; ++x) {
            int dx = x - cx;
            int dy = y - cy;
            int ex = x - (cx + radius / 2);
            int ey = y - (cy - radius / 3);
            if (dx * dx + dy * dy <= r2 && ex * ex + ey * ey > r2 * 7 / 10) {
                bool rimSide = dx * dx + dy * dy > (radius - 3) * (radius - 3);
                canvas.Plot(x, y, rimSide && dx > 0 ? kMoonShade : kMoon);
            }
        }
    }
}

void DrawSkyline(Canvas& canvas) {
    Scatter scatter(7);
    std::vector<Point> far{{0, kGroundTop}};
    for (int x = 0; x <= kScreenWidth; x += 40) {
        far.push_back({static_cast<double>(x), 330.0 + scatter.Below(60)});
    }
    far.push_back({kScreenWidth, kGroundTop});
    canvas.FillPolygon(far, kFarHills);

    std::vector<Point> near{{0, kGroundTop}};
    for (int x = 0; x <= kScreenWidth; x += 24) {
        near.push_back({static_cast<double>(x), 395.0 + scatter.Below(30)});
    }
    near.push_back({kScreenWidth, kGroundTop});
    canvas.FillPolygon(near, kNearHills);

    // Blocks of the town, each with a scatter of lit windows on a 4-pixel grid.
    int x = 4;
    while (x < kScreenWidth) {
        int w = 18 + scatter.Below(26);
        int h = 26 + scatter.Below(56);
        int top = kGroundTop - h;
        canvas.FillRect(x, top, w, h, kTown);
        if (scatter.Below(3) == 0) {
            canvas.FillRect(x + w / 2, top - 8, 1, 8, kTown);
        }
        for (int wy = top + 4; wy < kGroundTop - 6; wy += 6) {
            for (int wx = x + 3; wx < x + w - 3; wx += 5) {
                int lit = scatter.Below(9);
                if (lit == 0) {
                    canvas.FillRect(wx, wy, 2, 2, kWindowWarm);
                } else if (lit == 1) {
                    canvas.FillRect(wx, wy, 2, 2, kWindowCool);
                }
            }
        }
        x += w + 6 + scatter.Below(30);
    }
}

void DrawGround(Canvas& canvas) {
    canvas.FillRect(0, kGroundTop, kScreenWidth, 2, kGrassEdge);
    canvas.FillRect(0, kGroundTop + 2, kScreenWidth, 3, kGrass);
    canvas.FillRect(0, kGroundTop + 5, kScreenWidth, kScreenHeight - kGroundTop - 5, kSoil);
    Scatter scatter(11);
    for (int i = 0; i < 90; ++i) {
        int px = scatter.Below(kScreenWidth);
        int py = kGroundTop + 6 + scatter.Below(kScreenHeight - kGroundTop - 7);
        canvas.FillRect(px, py, 2, 1, kPebble);
    }
    // Tufts of grass stand up over the edge.
    for (int tx = 3; tx < kScreenWidth; tx += 7 + scatter.Below(9)) {
        canvas.Plot(tx, kGroundTop - 1, kGrassEdge);
        canvas.Plot(tx + 1, kGroundTop - 2, kGrassEdge);
    }
}

void DrawNightScene(Canvas& canvas, int moonX, int moonY) {
    DrawSky(canvas, 0, kGroundTop - 1);
    DrawStars(canvas, 0, 0, kScreenWidth, 330, 170, 3);
    DrawMoon(canvas, moonX, moonY, 24);
    DrawSkyline(canvas);
    DrawGround(canvas);
}

void DrawPanel(Canvas& canvas, int x, int y, int w, int h, int shadow) {
    canvas.FillRect(x - 2 + shadow, y - 2 + shadow, w + 4, h + 4, kPanelShadow);
    canvas.FillRect(x - 2, y - 2, w + 4, h + 4, kPanelBorder);
    canvas.FillRect(x, y, w, h, kPanel);
}
