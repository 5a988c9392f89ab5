#include "gfx/Text.h"

#include "gfx/Blit.h"
#include "gfx/MissingFile.h"

namespace {
constexpr const char* kFontFile = "arial.ttf";
constexpr int kPointSize = 22;
const SDL_Color kTextColour = {255, 0, 255, 0};  // magenta

// Every text is drawn in the one font at the one size, so the texts alive at a time share one
// opened font: the high-score list alone would otherwise hold 28 copies of the face and of its
// glyph cache, some 3 MB, for pictures that come out the same. The font closes with the last
// text that uses it, before the font library shuts down. The record is this function's alone,
// as the texts have no common owner to hold it.
std::shared_ptr<TTF_Font> OpenFont() {
    static std::weak_ptr<TTF_Font> shared;
    std::shared_ptr<TTF_Font> font = shared.lock();
    if (font == nullptr) {
        if (TTF_Font* opened = TTF_OpenFont(kFontFile, kPointSize)) {
            font.reset(opened, FontDeleter());
            shared = font;
        } else {
            ReportUnloadable(kFontFile, TTF_GetError());
        }
    }
    return font;
}
}  // namespace

Text::Text() : font(OpenFont()) {
    SDL_EnableUNICODE(1);
}

void Text::SetPos(int x, int y) {
    this->x = x;
    this->y = y;
}

void Text::Render(const char* text) {
    SDL_Surface* rendered = nullptr;
    if (font != nullptr && text != nullptr) {
        rendered = TTF_RenderText_Blended(font.get(), text, kTextColour);
    }
    surface.reset(rendered);
}

void Text::Draw(SDL_Surface* screen) {
    BlitAt(surface.get(), screen, x, y);
}
