#include "gfx/DecodeKeyed.h"

#include <SDL_image.h>

#include "gfx/SdlPtr.h"
#include "report/DataFolder.h"
#include "report/MissingFiles.h"

namespace {
// Pixels of exactly this colour are not drawn.
constexpr Uint8 kKeyRed = 255;
constexpr Uint8 kKeyGreen = 128;
constexpr Uint8 kKeyBlue = 0;
}  // namespace

SDL_Surface* DecodeKeyed(const std::string& path, const DataFolder& folder, MissingFiles& missing) {
    SurfacePtr loaded(IMG_Load(folder.File(path).c_str()));
    if (loaded == nullptr) {
        missing.Report(path, IMG_GetError());
        return nullptr;
    }
    // Converting once here keeps every later blit a plain copy in the screen's format.
    SDL_Surface* converted = SDL_DisplayFormat(loaded.get());
    if (converted != nullptr) {
        SDL_SetColorKey(converted, SDL_SRCCOLORKEY,
                        SDL_MapRGB(converted->format, kKeyRed, kKeyGreen, kKeyBlue));
    }
    return converted;
}
