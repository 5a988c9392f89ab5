// The browser's picture loading, in place of the desktop's: there a load is a quick read of a
// small file, while in the browser every load decodes the picture into a canvas and reads all of
// its pixels back to make the key colour transparent. Every shot and bomb loads its picture, so
// each picture is prepared once and every load is handed a copy of it, canvas to canvas.
#include "gfx/LoadImage.h"

#include <map>

#include "gfx/DecodeKeyed.h"
#include "gfx/SdlPtr.h"

namespace {
// Each picture as first loaded, by the name it was loaded under, kept for the whole game.
std::map<std::string, SurfacePtr>& Prepared() {
    static std::map<std::string, SurfacePtr> prepared;
    return prepared;
}
}  // namespace

SDL_Surface* LoadImage(const std::string& path) {
    if (SDL_GetVideoSurface() == nullptr) {
        return nullptr;
    }
    auto found = Prepared().find(path);
    if (found == Prepared().end()) {
        SDL_Surface* prepared = DecodeKeyed(path);
        if (prepared == nullptr) {
            return nullptr;  // tried again at the next load, and reported again
        }
        found = Prepared().emplace(path, SurfacePtr(prepared)).first;
    }
    SDL_Surface* original = found->second.get();
    return SDL_ConvertSurface(original, original->format, original->flags);
}
