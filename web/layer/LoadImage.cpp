// The browser's picture loading, in place of the desktop's: there a load is a quick read of a
// small file, while in the browser every load decodes the picture into a canvas and reads all of
// its pixels back to make the key colour transparent. Every shot and bomb loads its picture, so
// each picture is prepared once and every load is handed a copy of it, canvas to canvas.
#include "gfx/LoadImage.h"

#include <SDL_image.h>

#include <map>

#include "gfx/SdlPtr.h"
#include "report/MissingFiles.h"

namespace {
// Pixels of exactly this colour are not drawn.
constexpr Uint8 kKeyRed = 255;
constexpr Uint8 kKeyGreen = 128;
constexpr Uint8 kKeyBlue = 0;

// Each picture as first loaded, by the name it was loaded under, kept for the whole game.
std::map<std::string, SurfacePtr>& Prepared() {
    static std::map<std::string, SurfacePtr> prepared;
    return prepared;
}

SDL_Surface* Prepare(const std::string& path) {
    SurfacePtr loaded(IMG_Load(path.c_str()));
    if (loaded == nullptr) {
        ReportUnloadable(path, IMG_GetError());
        return nullptr;
    }
    SDL_Surface* converted = SDL_DisplayFormat(loaded.get());
    if (converted != nullptr) {
        SDL_SetColorKey(converted, SDL_SRCCOLORKEY,
                        SDL_MapRGB(converted->format, kKeyRed, kKeyGreen, kKeyBlue));
    }
    return converted;
}
}  // namespace

SDL_Surface* LoadImage(const std::string& path) {
    if (SDL_GetVideoSurface() == nullptr) {
        return nullptr;
    }
    auto found = Prepared().find(path);
    if (found == Prepared().end()) {
        SDL_Surface* prepared = Prepare(path);
        if (prepared == nullptr) {
            return nullptr;  // tried again at the next load, and reported again
        }
        found = Prepared().emplace(path, SurfacePtr(prepared)).first;
    }
    SDL_Surface* original = found->second.get();
    return SDL_ConvertSurface(original, original->format, original->flags);
}
