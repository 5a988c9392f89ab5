// Lines of text drawn by the browser in the game's font, laid out as the desktop's font library
// lays them out: a surface as tall as the font's line with the baseline at the font's ascent.
// The browser's SDL would make it only as tall as the point size with the baseline lower down,
// and every line of the game would stand three pixels higher than on the desktop.
#include <SDL_ttf.h>
#include <emscripten.h>

#include "SdlWeb.h"

// clang-format off
EM_JS(SDL_Surface*, DrawLine, (int font, const char* text, int red, int green, int blue), {
    var face = SDL.fonts[font];
    var line = UTF8ToString(text);
    var style = SDL.makeFontString(face.size, face.name);
    var context = SDL.ttfContext;
    context.font = style;
    var metrics = context.measureText(line);
    // As the font library rounds them: both away from the baseline, one pixel row between.
    var ascent = Math.ceil(metrics.fontBoundingBoxAscent);
    var descent = Math.ceil(-metrics.fontBoundingBoxDescent);
    var surface = SDL.makeSurface(Math.ceil(metrics.width), ascent - descent + 1, 0, false,
                                  'text:' + line);
    var canvas = SDL.surfaces[surface].ctx;
    canvas.save();
    canvas.font = style;
    canvas.fillStyle = 'rgb(' + red + ',' + green + ',' + blue + ')';
    canvas.textBaseline = 'alphabetic';
    canvas.fillText(line, 0, ascent);
    canvas.restore();
    return surface;
});

// The width DrawLine gives its surface. The browser's SDL rounds the same measure down, and a
// line fitted to its place by that measure would come out a pixel wider than it was fitted to.
EM_JS(int, LineWidth, (int font, const char* text), {
    var face = SDL.fonts[font];
    var context = SDL.ttfContext;
    context.font = SDL.makeFontString(face.size, face.name);
    return Math.ceil(context.measureText(UTF8ToString(text)).width);
});
// clang-format on

extern "C" SDL_Surface* TTF_RenderText_Blended(TTF_Font* font, const char* text, SDL_Color colour) {
    // The font library makes nothing of a line without width, and neither does this.
    if (font == nullptr || text == nullptr || text[0] == '\0') {
        return nullptr;
    }
    return DrawLine(static_cast<int>(reinterpret_cast<intptr_t>(font)), text, colour.r, colour.g,
                    colour.b);
}

extern "C" int TTF_SizeText(TTF_Font* font, const char* text, int* w, int* h) {
    if (font == nullptr || text == nullptr) {
        return -1;
    }
    const int fontId = static_cast<int>(reinterpret_cast<intptr_t>(font));
    if (w != nullptr) {
        *w = text[0] == '\0' ? 0 : LineWidth(fontId, text);
    }
    if (h != nullptr) {
        *h = TTF_FontHeight(font);
    }
    return 0;
}
