#pragma once

#include <SDL_ttf.h>

#include <memory>
#include <string>

#include "Canvas.h"
#include "Mask.h"
#include "Rgb.h"

// How a line of lettering is painted: a fill that runs from top to bottom, an optional rim
// around the letters and an optional drop shadow under them.
struct LetterStyle {
    Rgb top;
    Rgb bottom;
    Rgb rim{};
    int rimWidth = 0;
    Rgb shadow{};
    int shadowOffset = 0;
};

// How lettering is placed: by the font's line box, like the game's own text, so both share a
// baseline; or by the ink of the letters alone, for titles.
enum class Placing { LineBox, Ink };

// One font at one size, turning lines of text into lettering on a canvas. With a blocky factor
// above 1 the letters are drawn small, made fully solid and blown up, for chunky pixel lettering.
class Lettering {
  public:
    // The font library must be up (TTF_Init) for the whole life of the object.
    Lettering(const std::string& fontFile, int pointSize, int blockyFactor = 1,
              Placing placing = Placing::LineBox);

    bool IsOpen() const { return font != nullptr; }
    Mask Shape(const std::string& text) const;
    int WidthOf(const std::string& text) const { return Shape(text).Width(); }

    // (x, y) is the top-left corner of the letters themselves; rim and shadow reach beyond it.
    void Draw(Canvas& canvas, const std::string& text, int x, int y,
              const LetterStyle& style) const;
    void DrawCentred(Canvas& canvas, const std::string& text, int centreX, int y,
                     const LetterStyle& style) const;
    void DrawRightAligned(Canvas& canvas, const std::string& text, int rightX, int y,
                          const LetterStyle& style) const;

  private:
    struct FontCloser {
        void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
    };
    std::unique_ptr<TTF_Font, FontCloser> font;
    int blockyFactor;
    Placing placing;
};
