#pragma once

#include "random/Random.h"

// The C library's rand(), one call per draw: the desktop game has always drawn its bombs from it,
// and a run must keep drawing exactly what it always has.
class LibraryRandom final : public Random {
  public:
    int Draw() override;
    // The library's sequence cannot jump: it is restarted and drawn from drawsBefore times.
    void StartAfter(std::uint64_t drawsBefore) override;
};
