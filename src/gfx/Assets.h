#pragma once

#include <SDL.h>

#include <memory>

#include "gfx/TextRenderer.h"

// What the screens show themselves with: their pictures and the font of their lines. The engine
// owns the one of a game and hands it to each screen and line it makes, and each screen to the
// next. A game that draws nothing (a proof) has NoAssets: its sprites carry no picture, its lines
// render nothing, and nothing of it loads a file or asks SDL anything.
class Assets {
  public:
    virtual ~Assets() = default;

    // A picture with orange (255, 128, 0) as its transparent colour, in the window's format; the
    // caller owns it. Null when it cannot be loaded, and always where nothing is drawn.
    virtual SDL_Surface* Picture(const char* file) = 0;
    // The game's font, opened afresh for one line, which owns it; null where nothing is drawn or
    // the font cannot be opened.
    virtual std::unique_ptr<TextRenderer> Font() = 0;

  protected:
    Assets() = default;
    Assets(const Assets&) = default;
    Assets& operator=(const Assets&) = default;
};

class NoAssets final : public Assets {
  public:
    SDL_Surface* Picture(const char* /*file*/) override { return nullptr; }
    std::unique_ptr<TextRenderer> Font() override { return nullptr; }
};
