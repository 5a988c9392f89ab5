#include "engine/WatchLabel.h"

#include "engine/DisplayRules.h"

namespace {
// At the right, just below the top bar of the play screen, whose level and score it must not hide.
constexpr int kLabelMargin = 8;
constexpr int kLabelY = 44;
constexpr int kBoxMargin = 4;  // of the dark box around the line, so that it reads over the game
}  // namespace

void WatchLabel::Draw(SDL_Surface* frame, const std::string& text) {
    area = {};
    if (text.empty()) {
        return;
    }
    if (label == nullptr) {
        label = std::make_unique<Text>(assets);
    }
    if (text != rendered) {
        label->Render(text.c_str());
        rendered = text;
    }
    const SDL_Surface* drawn = label->GetSurface();
    if (drawn == nullptr) {
        return;
    }
    const int x = display::kFrameWidth - drawn->w - kLabelMargin;
    label->SetPos(x, kLabelY);
    SDL_Rect box{static_cast<Sint16>(x - kBoxMargin), static_cast<Sint16>(kLabelY - kBoxMargin),
                 static_cast<Uint16>(drawn->w + 2 * kBoxMargin),
                 static_cast<Uint16>(drawn->h + 2 * kBoxMargin)};
    area = box;  // SDL_FillRect clips the rectangle it is given
    SDL_FillRect(frame, &box, SDL_MapRGB(frame->format, 0, 0, 0));
    label->Draw(frame);
}
