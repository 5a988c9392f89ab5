#include "sound/QuietAlsa.h"

#include <dlfcn.h>

namespace {
constexpr const char* kAlsaLibrary = "libasound.so.2";

// ALSA's own type, written out here: the game has no need of ALSA's headers for one call.
using ErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                              const char* format, ...);
using SetErrorHandler = int (*)(ErrorHandler handler);

void SayNothing(const char* /*file*/, int /*line*/, const char* /*function*/, int /*error*/,
                const char* /*format*/, ...) {}
}  // namespace

void SilenceAlsa() {
    // Kept loaded, so that the handler is still in place when SDL loads the library in its turn.
    void* library = dlopen(kAlsaLibrary, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (library == nullptr) {
        return;  // no ALSA: nothing to quiet
    }
    auto setHandler =
        reinterpret_cast<SetErrorHandler>(dlsym(library, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) {
        setHandler(SayNothing);
    }
    dlclose(library);
}
