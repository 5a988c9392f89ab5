// Preloaded into the game by the whole-process benchmark (LD_PRELOAD). When the game's first
// flip has returned, writes the milliseconds since the benchmark started the program into the
// file named by ARCADE_BENCH_FIRST_FLIP. The start is ARCADE_BENCH_START, the wall clock as
// "seconds.microseconds" (bash's EPOCHREALTIME), read just before the program was started.
#include <SDL.h>
#include <dlfcn.h>
#include <sys/time.h>

#include <cstdio>
#include <cstdlib>

namespace {

using FlipFunction = int (*)(SDL_Surface*);

// Microseconds since the epoch from "seconds.microseconds"; 0 if there is none.
long long StartMicros() {
    const char* start = std::getenv("ARCADE_BENCH_START");
    if (start == nullptr) {
        return 0;
    }
    char* rest = nullptr;
    const long long seconds = std::strtoll(start, &rest, 10);
    long long micros = 0;
    if (*rest == '.' || *rest == ',') {
        int digits = 0;
        for (const char* c = rest + 1; *c >= '0' && *c <= '9' && digits < 6; ++c, ++digits) {
            micros = micros * 10 + (*c - '0');
        }
        for (; digits < 6; ++digits) {
            micros *= 10;
        }
    }
    return seconds * 1000000 + micros;
}

void ReportFirstFlip() {
    timeval now{};
    gettimeofday(&now, nullptr);
    const long long start = StartMicros();
    const char* out = std::getenv("ARCADE_BENCH_FIRST_FLIP");
    if (start == 0 || out == nullptr) {
        return;
    }
    const long long elapsed = static_cast<long long>(now.tv_sec) * 1000000 + now.tv_usec - start;
    if (FILE* file = std::fopen(out, "w")) {
        std::fprintf(file, "%.1f\n", static_cast<double>(elapsed) / 1000.0);
        std::fclose(file);
    }
}

}  // namespace

extern "C" int SDL_Flip(SDL_Surface* screen) {
    static const auto real = reinterpret_cast<FlipFunction>(dlsym(RTLD_NEXT, "SDL_Flip"));
    static bool flipped = false;
    const int result = real != nullptr ? real(screen) : -1;
    if (!flipped) {
        flipped = true;
        ReportFirstFlip();
    }
    return result;
}
