#pragma once

#include <memory>

// The pictures of a game as first loaded, where decoding one is dear enough to do only once.
// The engine keeps the one shelf of a game for as long as it runs; while it does, every load of a
// picture is a copy from it. On the desktop a load is a quick read of a small file, the shelf
// keeps nothing and every load decodes its file as it always has.
class PictureShelf {
  public:
    PictureShelf();
    ~PictureShelf();
    PictureShelf(const PictureShelf&) = delete;
    PictureShelf& operator=(const PictureShelf&) = delete;

  private:
    struct Kept;
    std::unique_ptr<Kept> kept;
};
