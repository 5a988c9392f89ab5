#pragma once

#include <SDL.h>

#include <memory>

#include "gfx/SdlPtr.h"
#include "gfx/TextRenderer.h"

class Assets;

// One line of text in the game's font and colour, rendered once and blitted every frame.
class Text {
  public:
    // Opens its own copy of arial.ttf from the working folder, each failure said on standard
    // error: the bare form. The game's own lines are made from its assets.
    Text();
    // Opens its own copy of the font of assets; a game that draws nothing gives it none.
    explicit Text(Assets& assets);

    void SetPos(int x, int y);
    int GetPosX() const { return x; }
    int GetPosY() const { return y; }

    // Replaces the rendered line. Without a font, or for an empty text, nothing is rendered.
    void Render(const char* text);
    // The colour of the lines rendered from now on, in place of the game's magenta.
    void SetColour(SDL_Color colour) { this->colour = colour; }
    // How wide Render would make text, in pixels: 0 without a font, for an empty text or for one
    // the font cannot lay out.
    int WidthOf(const char* text) const;
    void Draw(SDL_Surface* screen);
    // Keeps the rendered line and closes the font, after which Render and WidthOf do nothing: for
    // a line rendered for good. An open font holds some 80 kB, and a list of 28 lines would
    // otherwise hold 28 of them for as long as it is shown.
    void CloseFont() { renderer.reset(); }
    SDL_Surface* GetSurface() const { return surface.get(); }

  private:
    std::unique_ptr<TextRenderer> renderer;  // none without a font
    SurfacePtr surface;
    SDL_Color colour;
    int x = 0;
    int y = 0;
};
