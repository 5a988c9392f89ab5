#include "Lettering.h"

#include <SDL.h>

Lettering::Lettering(const std::string& fontFile, int pointSize, int blockyFactor, Placing placing)
    : font(TTF_OpenFont(fontFile.c_str(), pointSize)),
      blockyFactor(blockyFactor),
      placing(placing) {}

Mask Lettering::Shape(const std::string& text) const {
    if (!font || text.empty()) {
        return Mask(0, 0);
    }
    SDL_Surface* rendered =
        TTF_RenderUTF8_Blended(font.get(), text.c_str(), SDL_Color{255, 255, 255, 0});
    if (rendered == nullptr) {
        return Mask(0, 0);
    }
    Mask shape(rendered->w, rendered->h);
    SDL_LockSurface(rendered);
    for (int y = 0; y < rendered->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(rendered->pixels) + y * rendered->pitch);
        for (int x = 0; x < rendered->w; ++x) {
            Uint8 r, g, b, a;
            SDL_GetRGBA(row[x], rendered->format, &r, &g, &b, &a);
            shape.Set(x, y, a);
        }
    }
    SDL_UnlockSurface(rendered);
    SDL_FreeSurface(rendered);
    if (blockyFactor > 1) {
        shape = shape.Blocky(blockyFactor);
    }
    return placing == Placing::Ink ? shape.Trimmed() : shape;
}

void Lettering::Draw(Canvas& canvas, const std::string& text, int x, int y,
                     const LetterStyle& style) const {
    Mask shape = Shape(text);
    if (style.shadowOffset > 0) {
        Mask under = style.rimWidth > 0 ? shape.Grown(style.rimWidth) : shape;
        canvas.Blend(under, x - style.rimWidth + style.shadowOffset,
                     y - style.rimWidth + style.shadowOffset, style.shadow);
    }
    if (style.rimWidth > 0) {
        canvas.Blend(shape.Grown(style.rimWidth), x - style.rimWidth, y - style.rimWidth,
                     style.rim);
    }
    canvas.BlendGradient(shape, x, y, style.top, style.bottom);
}

void Lettering::DrawCentred(Canvas& canvas, const std::string& text, int centreX, int y,
                            const LetterStyle& style) const {
    Draw(canvas, text, centreX - WidthOf(text) / 2, y, style);
}

void Lettering::DrawRightAligned(Canvas& canvas, const std::string& text, int rightX, int y,
                                 const LetterStyle& style) const {
    Draw(canvas, text, rightX - WidthOf(text), y, style);
}
