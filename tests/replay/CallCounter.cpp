// Preloaded (LD_PRELOAD) into a program whose calls into SDL and its libraries are to be counted.
// Each function the game's library calls has a stand-in here (made by CountedCalls.cmake) that
// counts the call and goes on to the library's own function. The program reads the counts through
// arcade_counted_call, found with dlsym; a program run without this module finds none.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const char* const kNames[] = {
#include "CountedNames.inc"
};
constexpr std::size_t kCount = sizeof kNames / sizeof kNames[0];
}  // namespace

// Read and written by the stand-ins: the calls so far, and where each one goes on to.
extern "C" {
__attribute__((visibility("hidden"))) std::uint64_t arcade_counted_calls[kCount];
__attribute__((visibility("hidden"))) void* arcade_counted_targets[kCount];
}

namespace {
// Every target is found before the program's own code runs: a stand-in with none would jump to
// nowhere.
__attribute__((constructor)) void FindTargets() {
    for (std::size_t i = 0; i < kCount; ++i) {
        arcade_counted_targets[i] = dlsym(RTLD_NEXT, kNames[i]);
        if (arcade_counted_targets[i] == nullptr) {
            std::fprintf(stderr, "call counter: no %s to count\n", kNames[i]);
            std::abort();
        }
    }
}
}  // namespace

// The name and count of the i-th counted function; false past the last one.
extern "C" __attribute__((visibility("default"))) bool arcade_counted_call(std::size_t i,
                                                                           const char** name,
                                                                           std::uint64_t* calls) {
    if (i >= kCount) {
        return false;
    }
    *name = kNames[i];
    *calls = __atomic_load_n(&arcade_counted_calls[i], __ATOMIC_RELAXED);
    return true;
}
