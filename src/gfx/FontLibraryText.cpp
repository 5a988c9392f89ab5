// The desktop's text: every line rendered by the font library from the font itself.
#include <SDL_ttf.h>

#include "gfx/SdlPtr.h"
#include "gfx/TextRenderer.h"

namespace {

class FontLibraryText : public TextRenderer {
  public:
    explicit FontLibraryText(FontPtr font) : font(std::move(font)) {}

    SDL_Surface* Render(const char* text, SDL_Color colour) const override {
        return TTF_RenderText_Blended(font.get(), text, colour);
    }

    int WidthOf(const char* text) const override {
        int width = 0;
        int height = 0;
        return TTF_SizeText(font.get(), text, &width, &height) == 0 ? width : 0;
    }

  private:
    FontPtr font;
};

}  // namespace

std::unique_ptr<TextRenderer> OpenTextRenderer(const char* fontFile, int pointSize,
                                               std::string& reason) {
    FontPtr font(TTF_OpenFont(fontFile, pointSize));
    if (font == nullptr) {
        reason = TTF_GetError();
        return nullptr;
    }
    return std::make_unique<FontLibraryText>(std::move(font));
}
