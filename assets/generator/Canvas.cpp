#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

Canvas::Canvas(int width, int height, Rgb fill)
    : width(width), height(height), pixels(static_cast<size_t>(width) * height, fill) {}

void Canvas::Plot(int x, int y, Rgb colour) {
    if (Contains(x, y)) {
        pixels[Index(x, y)] = colour;
    }
}

void Canvas::FillRect(int x, int y, int w, int h, Rgb colour) {
    for (int row = y; row < y + h; ++row) {
        for (int col = x; col < x + w; ++col) {
            Plot(col, row, colour);
        }
    }
}

void Canvas::FillEllipse(double cx, double cy, double rx, double ry, Rgb colour) {
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry));
         ++y) {
        for (int x = static_cast<int>(std::floor(cx - rx));
             x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
            double dx = (x - cx) / rx;
            double dy = (y - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) {
                Plot(x, y, colour);
            }
        }
    }
}

void Canvas::FillPolygon(const std::vector<Point>& corners, Rgb colour) {
    if (corners.size() < 3) {
        return;
    }
    double top = corners[0].y;
    double bottom = corners[0].y;
    for (const Point& p : corners) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    std::vector<double> crossings;
    for (int y = static_cast<int>(std::ceil(top)); y <= static_cast<int>(std::floor(bottom)); ++y) {
        crossings.clear();
        for (size_t i = 0; i < corners.size(); ++i) {
            const Point& a = corners[i];
            const Point& b = corners[(i + 1) % corners.size()];
            // Half-open in y so a corner shared by two edges is counted once.
            if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y)) {
                crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            for (int x = static_cast<int>(std::ceil(crossings[i]));
                 x <= static_cast<int>(std::floor(crossings[i + 1])); ++x) {
                Plot(x, y, colour);
            }
        }
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb colour) {
    int dx = std::abs(x1 - x0);
    int dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1;
    int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (true) {
        Plot(x0, y0, colour);
        if (x0 == x1 && y0 == y1) {
            return;
        }
        int twice = 2 * err;
        if (twice >= dy) {
            err += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::Recolour(const std::function<bool(int, int)>& keep, Rgb colour) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (keep(x, y)) {
                pixels[Index(x, y)] = colour;
            }
        }
    }
}

void Canvas::Paste(const Canvas& sprite, int x, int y) {
    for (int row = 0; row < sprite.Height(); ++row) {
        for (int col = 0; col < sprite.Width(); ++col) {
            Rgb c = sprite.At(col, row);
            if (c != kKey) {
                Plot(x + col, y + row, c);
            }
        }
    }
}

Canvas Canvas::Mirrored() const {
    Canvas mirrored(width, height, kKey);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            mirrored.pixels[Index(width - 1 - x, y)] = At(x, y);
        }
    }
    return mirrored;
}

void Canvas::Outline(Rgb colour) {
    auto see_through = [this](int x, int y) { return !Contains(x, y) || At(x, y) == kKey; };
    std::vector<Rgb> rimmed = pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (At(x, y) != kKey && (see_through(x - 1, y) || see_through(x + 1, y) ||
                                     see_through(x, y - 1) || see_through(x, y + 1))) {
                rimmed[Index(x, y)] = colour;
            }
        }
    }
    pixels = std::move(rimmed);
}

void Canvas::Blend(const Mask& mask, int x, int y, Rgb colour) {
    BlendGradient(mask, x, y, colour, colour);
}

void Canvas::BlendGradient(const Mask& mask, int x, int y, Rgb top, Rgb bottom) {
    int span = std::max(1, mask.Height() - 1);
    for (int row = 0; row < mask.Height(); ++row) {
        Rgb colour = Mix(top, bottom, row * 255 / span);
        for (int col = 0; col < mask.Width(); ++col) {
            int coverage = mask.At(col, row);
            if (coverage > 0 && Contains(x + col, y + row)) {
                Rgb& pixel = pixels[Index(x + col, y + row)];
                pixel = Mix(pixel, colour, coverage);
            }
        }
    }
}
