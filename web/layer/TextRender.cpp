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
// clang-format on

extern "C" SDL_Surface* TTF_RenderText_Blended(TTF_Font* font, const char* text, SDL_Color colour) {
    // The font library makes nothing of a line without width, and neither does this.
    if (font == nullptr || text == nullptr || text[0] == '\0') {
        return nullptr;
    }
    return DrawLine(static_cast<int>(reinterpret_cast<intptr_t>(font)), text, colour.r, colour.g,
                    colour.b);
}
