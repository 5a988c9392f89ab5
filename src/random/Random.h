#pragma once

#include <cstdint>
#include <memory>

// Where the bombs' chance comes from. The game never seeds it, so every run draws the same
// sequence, and a later game of a run is replayed by starting the sequence where the games before
// it left it.
class Random {
  public:
    virtual ~Random() = default;

    // The next value of the sequence, 0 to RAND_MAX.
    virtual int Draw() = 0;
    // Puts the sequence where an unseeded run that made drawsBefore draws left it.
    virtual void StartAfter(std::uint64_t drawsBefore) = 0;
};

// The game's own generator on this platform. Each build's list of sources compiles exactly one
// definition: the desktop's asks the C library, the browser's computes the same sequence itself.
std::unique_ptr<Random> MakeGameRandom();
