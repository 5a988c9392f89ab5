// Implements MakeGameRandom (random/Random.h) for the browser: its C library's rand() draws
// another sequence than the desktop's, so the game computes the desktop's itself, and the bombs
// fall in the same frames in both builds.
#include "random/RandSequence.h"

std::unique_ptr<Random> MakeGameRandom() {
    return std::make_unique<RandSequence>();
}
