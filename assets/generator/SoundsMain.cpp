// Draws the game's sound effects and writes them as WAV files.
//
//   arcade-sounds OUTPUT_DIR
//
// The same sources always give the same bytes, so the sounds can be rebuilt and committed
// without noise.

#include <cstdio>
#include <string>

#include "Sounds.h"
#include "SoundsWav.h"

namespace {
// The file names are the ones the game plays (src/sound/Effect.h).
struct Effect {
    const char* file;
    std::vector<std::uint8_t> (*draw)();
};

constexpr Effect kEffects[] = {
    {"fire.wav", DrawFire},
    {"hit.wav", DrawAirplaneHit},
    {"down.wav", DrawAirplaneDown},
    {"level.wav", DrawLevelCleared},
    {"destroyed.wav", DrawCannonDestroyed},
    {"select.wav", DrawSelect},
};
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string outputDir = argv[1];
    int failures = 0;
    for (const Effect& effect : kEffects) {
        const std::vector<std::uint8_t> samples = effect.draw();
        const std::string path = outputDir + "/" + effect.file;
        if (!WriteWav(samples, path)) {
            std::fprintf(stderr, "arcade-sounds: cannot write %s\n", path.c_str());
            ++failures;
        } else {
            std::printf("%-14s %5.2f s\n", effect.file,
                        static_cast<double>(samples.size()) / kSampleRate);
        }
    }
    return failures == 0 ? 0 : 1;
}
