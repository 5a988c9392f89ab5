#pragma once

#include <atomic>
#include <mutex>
#include <optional>

#include "playback/Prover.h"
#include "replay/Replay.h"

namespace server {

// Proves posted games one at a time: a proof plays the game on the process's one rand()
// sequence, so two at once would each see the other's bombs. A few posts may wait their turn;
// more are turned away at once, so that they never hold every worker the reads need.
class ProvingGate {
  public:
    explicit ProvingGate(int mostPosts) : mostPosts(mostPosts) {}

    // The verdict; nothing when mostPosts are already proving or waiting.
    std::optional<replay::Verdict> Prove(const replay::Replay& game);

  private:
    int mostPosts;
    std::atomic<int> inside{0};
    std::mutex proving;
};

}  // namespace server
