// Preloaded into the game by an end-to-end test (LD_PRELOAD): writes the moment each flip returns,
// in milliseconds of the monotonic clock, one a line, into the file named by ARCADE_FLIP_TIMES;
// beside it, the milliseconds of processor time the game's thread has taken so far. The frames'
// pace, and what each frame cost, are then read from outside, with nothing of the game changed.
#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
using FlipFunction = int (*)(SDL_Surface*);

FILE* Out() {
    static FILE* out = [] {
        const char* path = std::getenv("ARCADE_FLIP_TIMES");
        return path != nullptr ? std::fopen(path, "w") : nullptr;
    }();
    return out;
}
}  // namespace

extern "C" int SDL_Flip(SDL_Surface* screen) {
    static const auto real = reinterpret_cast<FlipFunction>(dlsym(RTLD_NEXT, "SDL_Flip"));
    const int result = real != nullptr ? real(screen) : -1;
    if (FILE* out = Out()) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        timespec used{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
        std::fprintf(out, "%.3f %.3f\n",
                     static_cast<double>(now.tv_sec) * 1000.0 + now.tv_nsec / 1e6,
                     static_cast<double>(used.tv_sec) * 1000.0 + used.tv_nsec / 1e6);
        std::fflush(out);
    }
    return result;
}
