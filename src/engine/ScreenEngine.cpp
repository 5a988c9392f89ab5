#include "engine/ScreenEngine.h"

#include "gfx/FolderAssets.h"
#include "report/DataFolder.h"
#include "report/MissingFiles.h"

SDL_Surface* ScreenEngine::load_image(std::string path) {
    MissingFiles sayEveryTime(DataFolder::Working());
    FolderAssets working(DataFolder::Working(), sayEveryTime);
    return working.Picture(path.c_str());
}
