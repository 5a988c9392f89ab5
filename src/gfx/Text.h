#pragma once

#include <SDL.h>

#include <memory>

#include "gfx/SdlPtr.h"
#include "gfx/TextRenderer.h"

class DataFolder;
class MissingFiles;

// One line of text in the game's font and colour, rendered once and blitted every frame.
class Text {
  public:
    // Opens its own copy of arial.ttf from the running game's data folder, a font that will not
    // open going to its record of missing files.
    Text();
    // The same, from folder and reporting to missing: for the lines the game's own code makes.
    Text(const DataFolder& folder, MissingFiles& missing);

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
    void OpenFont(const DataFolder& folder, MissingFiles& missing);

    std::unique_ptr<TextRenderer> renderer;  // none without a font
    SurfacePtr surface;
    SDL_Color colour;
    int x = 0;
    int y = 0;
};
