#include "gfx/Text.h"

#include "gfx/Assets.h"
#include "gfx/Blit.h"
#include "gfx/FolderAssets.h"
#include "report/DataFolder.h"
#include "report/MissingFiles.h"

namespace {
const SDL_Color kTextColour = {255, 0, 255, 0};  // magenta
}  // namespace

Text::Text() : colour(kTextColour) {
    MissingFiles sayEveryTime(DataFolder::Working());
    FolderAssets working(DataFolder::Working(), sayEveryTime);
    renderer = working.Font();
}

Text::Text(Assets& assets) : renderer(assets.Font()), colour(kTextColour) {}

void Text::SetPos(int x, int y) {
    this->x = x;
    this->y = y;
}

void Text::Render(const char* text) {
    SDL_Surface* rendered = nullptr;
    if (renderer != nullptr && text != nullptr) {
        rendered = renderer->Render(text, colour);
    }
    surface.reset(rendered);
}

int Text::WidthOf(const char* text) const {
    if (renderer == nullptr || text == nullptr) {
        return 0;
    }
    return renderer->WidthOf(text);
}

void Text::Draw(SDL_Surface* screen) {
    BlitAt(surface.get(), screen, x, y);
}
