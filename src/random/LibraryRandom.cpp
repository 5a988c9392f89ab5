#include "random/LibraryRandom.h"

#include <cstdlib>

int LibraryRandom::Draw() {
    return std::rand();
}

void LibraryRandom::StartAfter(std::uint64_t drawsBefore) {
    // Unseeded, rand() gives the sequence that srand(1) starts.
    std::srand(1);
    for (std::uint64_t i = 0; i < drawsBefore; ++i) {
        std::rand();
    }
}

std::unique_ptr<Random> MakeGameRandom() {
    return std::make_unique<LibraryRandom>();
}
