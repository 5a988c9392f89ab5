#include "gfx/LoadImage.h"

#include "gfx/DecodeKeyed.h"

SDL_Surface* LoadImage(const std::string& path, const DataFolder& folder, MissingFiles& missing,
                       PictureShelf& /*shelf*/) {
    return DecodeKeyed(path, folder, missing);
}
