#pragma once

#include <functional>
#include <vector>

#include "Mask.h"
#include "Rgb.h"

// A corner of a polygon; integer coordinates are pixel centres.
struct Point {
    double x;
    double y;
};

// A picture being drawn. Every shape has hard edges: a pixel is either inside and takes the
// colour, or outside and keeps what it had, so sprites never grow a half-tone rim.
class Canvas {
  public:
    Canvas(int width, int height, Rgb fill);

    int Width() const { return width; }
    int Height() const { return height; }
    const std::vector<Rgb>& Pixels() const { return pixels; }

    Rgb At(int x, int y) const { return pixels[Index(x, y)]; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Points outside the picture are ignored by every drawing call.
    void Plot(int x, int y, Rgb colour);

    void FillRect(int x, int y, int w, int h, Rgb colour);
    void FillEllipse(double cx, double cy, double rx, double ry, Rgb colour);
    void FillPolygon(const std::vector<Point>& corners, Rgb colour);
    void Line(int x0, int y0, int x1, int y1, Rgb colour);
    // Changes only the pixels for which keep(x, y) holds.
    void Recolour(const std::function<bool(int, int)>& keep, Rgb colour);

    // Copies a sprite, leaving this picture visible wherever the sprite shows the key.
    void Paste(const Canvas& sprite, int x, int y);
    Canvas Mirrored() const;
    // Paints the rim of every non-key shape, the pixels next to the key or the picture's edge.
    void Outline(Rgb colour);

    // Lettering: each pixel moves towards the colour by the mask's coverage.
    void Blend(const Mask& mask, int x, int y, Rgb colour);
    // The same with a colour that runs from top to bottom of the mask.
    void BlendGradient(const Mask& mask, int x, int y, Rgb top, Rgb bottom);

  private:
    int Index(int x, int y) const { return y * width + x; }

    int width;
    int height;
    std::vector<Rgb> pixels;
};
