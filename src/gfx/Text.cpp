#include "gfx/Text.h"

#include "gfx/Blit.h"
#include "report/DataFolder.h"
#include "report/MissingFiles.h"

namespace {
constexpr const char* kFontFile = "arial.ttf";
constexpr int kPointSize = 22;
const SDL_Color kTextColour = {255, 0, 255, 0};  // magenta
}  // namespace

namespace {
// A replay proved without a window has no font and nothing to draw with it: nothing to report.
bool Drawing() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}
}  // namespace

Text::Text()
    : font(Drawing() ? TTF_OpenFont(DataFile(kFontFile).c_str(), kPointSize) : nullptr),
      colour(kTextColour) {
    if (font == nullptr && Drawing()) {
        ReportUnloadable(kFontFile, TTF_GetError());
    }
}

void Text::SetPos(int x, int y) {
    this->x = x;
    this->y = y;
}

void Text::Render(const char* text) {
    SDL_Surface* rendered = nullptr;
    if (font != nullptr && text != nullptr) {
        rendered = TTF_RenderText_Blended(font.get(), text, colour);
    }
    surface.reset(rendered);
}

int Text::WidthOf(const char* text) const {
    int width = 0;
    int height = 0;
    if (font == nullptr || text == nullptr ||
        TTF_SizeText(font.get(), text, &width, &height) != 0) {
        return 0;
    }
    return width;
}

void Text::Draw(SDL_Surface* screen) {
    BlitAt(surface.get(), screen, x, y);
}
