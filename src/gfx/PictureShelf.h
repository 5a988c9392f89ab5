#pragma once

#include <SDL.h>

#include <memory>
#include <string>

class DataFolder;
class MissingFiles;

// The pictures of a game as first loaded, where decoding one is dear enough to do only once.
// A game's assets keep the one shelf of the game for as long as it runs, and every load of a
// picture through them is a copy from it. On the desktop a load is a quick read of a small file,
// the shelf keeps nothing and every load decodes its file as it always has.
class PictureShelf {
  public:
    PictureShelf();
    ~PictureShelf();
    PictureShelf(const PictureShelf&) = delete;
    PictureShelf& operator=(const PictureShelf&) = delete;

  private:
    friend SDL_Surface* LoadImage(const std::string& path, const DataFolder& folder,
                                  MissingFiles& missing, PictureShelf& shelf);

    struct Kept;
    std::unique_ptr<Kept> kept;
};
