#include "gfx/FolderAssets.h"

#include <string>

#include "gfx/LoadImage.h"
#include "report/DataFolder.h"
#include "report/MissingFiles.h"

namespace {
constexpr const char* kFontFile = "arial.ttf";
constexpr int kPointSize = 22;
}  // namespace

SDL_Surface* FolderAssets::Picture(const char* file) {
    return LoadImage(file, folder, missing, shelf);
}

std::unique_ptr<TextRenderer> FolderAssets::Font() {
    std::string reason;
    auto font = OpenTextRenderer(folder.File(kFontFile).c_str(), kPointSize, reason);
    if (font == nullptr) {
        missing.Report(kFontFile, reason.c_str());
    }
    return font;
}
