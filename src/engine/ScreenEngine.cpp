#include "engine/ScreenEngine.h"

#include "gfx/LoadImage.h"

SDL_Surface* ScreenEngine::load_image(std::string path) {
    return LoadImage(path);
}
