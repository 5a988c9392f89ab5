#include "engine/WatchLabel.h"

#include "engine/DisplayRules.h"
#include "gfx/SdlPtr.h"

namespace {
// In the top right corner, clear of the score and lives along the top left.
constexpr int kLabelMargin = 8;
constexpr int kLabelY = 4;

SurfacePtr AreaLike(const SDL_Surface& frame, int width, int height) {
    const SDL_PixelFormat& format = *frame.format;
    return SurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, format.BitsPerPixel,
                                           format.Rmask, format.Gmask, format.Bmask, format.Amask));
}
}  // namespace

void WatchLabel::Present(SDL_Surface* frame, const std::string& text,
                         const std::function<void()>& present) {
    if (text.empty()) {
        present();
        return;
    }
    if (label == nullptr) {
        label = std::make_unique<Text>();
    }
    if (text != rendered) {
        label->Render(text.c_str());
        rendered = text;
    }
    const SDL_Surface* drawn = label->GetSurface();
    if (drawn == nullptr) {
        present();
        return;
    }
    const int x = display::kFrameWidth - drawn->w - kLabelMargin;
    label->SetPos(x, kLabelY);
    SDL_Rect area{static_cast<Sint16>(x), static_cast<Sint16>(kLabelY),
                  static_cast<Uint16>(drawn->w), static_cast<Uint16>(drawn->h)};
    const SurfacePtr under = AreaLike(*frame, drawn->w, drawn->h);
    if (under != nullptr) {
        SDL_BlitSurface(frame, &area, under.get(), nullptr);
    }
    label->Draw(frame);
    present();
    if (under != nullptr) {
        SDL_BlitSurface(under.get(), nullptr, frame, &area);
    }
}
