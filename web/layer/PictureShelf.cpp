// The browser's LoadImage and PictureShelf (src/gfx/LoadImage.h, src/gfx/PictureShelf.h). The
// browser's SDL ignores a key colour, so a picture's pixels of that colour are made transparent
// once, as it is decoded, and every copy is then the canvas's own. Decoding a picture into a
// canvas and reading all of its pixels back is dear, and every shot and bomb loads its picture:
// the shelf of the game's assets prepares each picture once and every load is handed a copy of
// it, canvas to canvas.
#include "gfx/PictureShelf.h"

#include <SDL_image.h>

#include <map>
#include <string>

#include "gfx/LoadImage.h"
#include "gfx/SdlPtr.h"
#include "report/DataFolder.h"
#include "report/MissingFiles.h"

namespace {
// Pixels of exactly this colour are not drawn, as on the desktop.
constexpr Uint8 kKeyRed = 255;
constexpr Uint8 kKeyGreen = 128;
constexpr Uint8 kKeyBlue = 0;
constexpr Uint32 kColourBits = 0x00ffffff;  // a pixel is red, green, blue, alpha from low to high

// The picture in the screen's format, its key colour's pixels cleared to transparency.
SDL_Surface* DecodeKeyed(const std::string& path, const DataFolder& folder, MissingFiles& missing) {
    SurfacePtr loaded(IMG_Load(folder.File(path).c_str()));
    if (loaded == nullptr) {
        missing.Report(path, IMG_GetError());
        return nullptr;
    }
    SDL_Surface* converted = SDL_DisplayFormatAlpha(loaded.get());
    if (converted == nullptr || SDL_LockSurface(converted) != 0) {
        return converted;
    }
    const Uint32 key = SDL_MapRGB(converted->format, kKeyRed, kKeyGreen, kKeyBlue) & kColourBits;
    auto* rows = static_cast<Uint8*>(converted->pixels);
    for (int y = 0; y < converted->h; ++y) {
        auto* pixel = reinterpret_cast<Uint32*>(rows + y * converted->pitch);
        for (int x = 0; x < converted->w; ++x) {
            if ((pixel[x] & kColourBits) == key) {
                pixel[x] = 0;
            }
        }
    }
    SDL_UnlockSurface(converted);
    return converted;
}
}  // namespace

struct PictureShelf::Kept {
    // Each picture as first loaded, by the name it was loaded under.
    std::map<std::string, SurfacePtr> pictures;
};

PictureShelf::PictureShelf() : kept(std::make_unique<Kept>()) {}

PictureShelf::~PictureShelf() = default;

SDL_Surface* LoadImage(const std::string& path, const DataFolder& folder, MissingFiles& missing,
                       PictureShelf& shelf) {
    auto& pictures = shelf.kept->pictures;
    auto found = pictures.find(path);
    if (found == pictures.end()) {
        SDL_Surface* prepared = DecodeKeyed(path, folder, missing);
        if (prepared == nullptr) {
            return nullptr;  // tried again at the next load, and reported again
        }
        found = pictures.emplace(path, SurfacePtr(prepared)).first;
    }
    SDL_Surface* original = found->second.get();
    return SDL_ConvertSurface(original, original->format, original->flags);
}
