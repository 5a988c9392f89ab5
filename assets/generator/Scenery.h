#pragma once

#include <cstdint>

#include "Canvas.h"

// The night landscape behind every screen: one place, so all screens share one look.

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kGroundTop = 462;  // the cannon's tracks (y 465 to 477) run on the ground

// A fixed sequence of numbers, so every rebuild scatters stars in the same places.
class Scatter {
  public:
    explicit Scatter(std::uint32_t seed) : state(seed) {}
    // A whole number from 0 to limit - 1.
    int Below(int limit);

  private:
    std::uint32_t state;
};

// Sky from row top to row bottom, darkest at the top, stepped in ordered dither like an old
// palette screen.
void DrawSky(Canvas& canvas, int top, int bottom);
// Stars inside a rectangle.
void DrawStars(Canvas& canvas, int x, int y, int w, int h, int count, std::uint32_t seed);
void DrawMoon(Canvas& canvas, int cx, int cy, int radius);
// Two ranges of hills and a dark town with a few lit windows, standing on the ground line.
void DrawSkyline(Canvas& canvas);
void DrawGround(Canvas& canvas);
// All of the above for a whole screen, with the moon centred at (moonX, moonY).
void DrawNightScene(Canvas& canvas, int moonX = 566, int moonY = 118);

// A dark panel with a bright border drawn just outside it: a quiet place for text.
// The shadow falls shadow pixels below and to the right of the border.
void DrawPanel(Canvas& canvas, int x, int y, int w, int h, int shadow = 4);
