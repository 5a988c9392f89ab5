#include "engine/ScreenEngine.h"

#include "engine/Display.h"
#include "gfx/LoadImage.h"
#include "report/LiveRecord.h"

SDL_Surface* ScreenEngine::load_image(std::string path) {
    // A static member, called bare from everywhere, so there is no engine to ask: the display's
    // module answers for the one window SDL keeps, and the running game's folder and record are
    // reached through LiveRecord. Without a window there is no format to load
    // into, and proving a replay wants no pictures.
    if (!SomeWindowExists()) {
        return nullptr;
    }
    return LiveRecord::Use([&path](const DataFolder& folder, MissingFiles& missing) {
        return LoadImage(path, folder, missing);
    });
}
