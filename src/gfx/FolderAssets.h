#pragma once

#include <SDL.h>

#include <memory>

#include "gfx/Assets.h"
#include "gfx/PictureShelf.h"

class DataFolder;
class MissingFiles;

// The pictures and the font of a game with a window, read from its data folder; each file that
// will not load goes to its record of missing files. Pictures are made for the window's format,
// so one is made only once the window is open. Folder and record outlive it.
class FolderAssets final : public Assets {
  public:
    FolderAssets(const DataFolder& folder, MissingFiles& missing)
        : folder(folder), missing(missing) {}

    SDL_Surface* Picture(const char* file) override;
    std::unique_ptr<TextRenderer> Font() override;

  private:
    const DataFolder& folder;
    MissingFiles& missing;
    PictureShelf shelf;  // where the platform keeps pictures it decodes only once
};
