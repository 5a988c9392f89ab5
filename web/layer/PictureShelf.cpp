// The browser's picture loading, in place of the desktop's: there a load is a quick read of a
// small file, while in the browser every load decodes the picture into a canvas and reads all of
// its pixels back to make the key colour transparent. Every shot and bomb loads its picture, so
// the engine's shelf prepares each picture once and every load is handed a copy of it, canvas to
// canvas.
#include "gfx/PictureShelf.h"

#include <emscripten.h>

#include <map>
#include <string>

#include "gfx/DecodeKeyed.h"
#include "gfx/LoadImage.h"
#include "gfx/SdlPtr.h"

struct PictureShelf::Kept {
    // Each picture as first loaded, by the name it was loaded under.
    std::map<std::string, SurfacePtr> pictures;
};

// clang-format off
// The loads find the shelf through the browser's SDL, which lives exactly as long as the game;
// a game played again in place starts with an SDL of its own and no shelf on it.
EM_JS(void, ShowShelf, (void* kept), { SDL.arcadeShelf = kept; });
EM_JS(void*, FindShelf, (), { return SDL.arcadeShelf || 0; });
// clang-format on

PictureShelf::PictureShelf() : kept(std::make_unique<Kept>()) {
    ShowShelf(&kept->pictures);
}

PictureShelf::~PictureShelf() {
    if (FindShelf() == &kept->pictures) {
        ShowShelf(nullptr);
    }
}

SDL_Surface* LoadImage(const std::string& path) {
    if (SDL_GetVideoSurface() == nullptr) {
        return nullptr;
    }
    auto* shelf = static_cast<std::map<std::string, SurfacePtr>*>(FindShelf());
    if (shelf == nullptr) {
        return DecodeKeyed(path);
    }
    auto found = shelf->find(path);
    if (found == shelf->end()) {
        SDL_Surface* prepared = DecodeKeyed(path);
        if (prepared == nullptr) {
            return nullptr;  // tried again at the next load, and reported again
        }
        found = shelf->emplace(path, SurfacePtr(prepared)).first;
    }
    SDL_Surface* original = found->second.get();
    return SDL_ConvertSurface(original, original->format, original->flags);
}
