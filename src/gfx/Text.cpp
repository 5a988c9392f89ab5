#include "gfx/Text.h"

#include <string>

#include "gfx/Blit.h"
#include "report/DataFolder.h"
#include "report/LiveRecord.h"
#include "report/MissingFiles.h"

namespace {
constexpr const char* kFontFile = "arial.ttf";
constexpr int kPointSize = 22;
const SDL_Color kTextColour = {255, 0, 255, 0};  // magenta

// A replay proved without a window has no font and nothing to draw with it: nothing to report.
bool Drawing() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}
}  // namespace

// Lines are made bare all over the screens, with no engine at hand: LiveRecord leads to its folder
// and record.
Text::Text() : colour(kTextColour) {
    LiveRecord::Use(
        [this](const DataFolder& folder, MissingFiles& missing) { OpenFont(folder, missing); });
}

Text::Text(const DataFolder& folder, MissingFiles& missing) : colour(kTextColour) {
    OpenFont(folder, missing);
}

void Text::OpenFont(const DataFolder& folder, MissingFiles& missing) {
    if (!Drawing()) {
        return;
    }
    std::string reason;
    renderer = OpenTextRenderer(folder.File(kFontFile).c_str(), kPointSize, reason);
    if (renderer == nullptr) {
        missing.Report(kFontFile, reason.c_str());
    }
}

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
