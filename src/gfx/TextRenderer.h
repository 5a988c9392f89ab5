#pragma once

#include <SDL.h>

#include <memory>
#include <string>

// The platform's way of turning a line into pixels, one font at one size. Each build compiles one
// implementation, named in cmake/PlatformSources.cmake: the desktop's font library
// (src/gfx/FontLibraryText.cpp), or in the browser, which has neither that library nor the font,
// the glyph atlas rendered by it at build time (web/layer/AtlasText.cpp). Both give the same
// pixels.
class TextRenderer {
  public:
    virtual ~TextRenderer() = default;

    // The line in colour, blended over nothing (alpha carries the coverage); the caller owns it.
    // Null for a line that cannot be rendered, one without width among them.
    virtual SDL_Surface* Render(const char* text, SDL_Color colour) const = 0;
    // How wide Render would make text, in pixels; 0 for a line the font cannot lay out.
    virtual int WidthOf(const char* text) const = 0;
};

// The font file at a point size; null, with why in reason, when it cannot be opened.
std::unique_ptr<TextRenderer> OpenTextRenderer(const char* fontFile, int pointSize,
                                               std::string& reason);
