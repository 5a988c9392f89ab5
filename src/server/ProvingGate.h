#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "playback/Prover.h"
#include "replay/Replay.h"

namespace server {

// Proves posted games on workers of its own, one per core unless told otherwise. A proof plays a
// whole game headless on an engine and a generator of its own, so proofs run side by side, and
// never on the threads that read and answer requests. A few posts may wait for a worker; beyond
// mostPosts proving or waiting, a post is turned away at once rather than queued without end.
//
// Every call may come from any thread, several at once.
class ProvingGate {
  public:
    // Called once with the verdict, on the worker that proved the game; it must not throw.
    using Done = std::function<void(const replay::Verdict&)>;

    // workers 0: one per core.
    explicit ProvingGate(int mostPosts, unsigned workers = 0);
    // Proves whatever was already handed in, each with its call, before the workers go: whatever
    // those calls answer through must outlive the gate.
    ~ProvingGate();
    ProvingGate(const ProvingGate&) = delete;
    ProvingGate& operator=(const ProvingGate&) = delete;

    // For a server that must not block while a game is proven (a connection suspended, to be
    // resumed from done): hands the game to a worker and returns at once. False when mostPosts
    // are already proving or waiting; done is then never called. Otherwise done is called exactly
    // once, from a worker thread. A proof that throws (no memory left) is not proven, and says so.
    bool Submit(replay::Replay game, Done done);

    // Waits for the verdict; nothing when mostPosts are already proving or waiting.
    std::optional<replay::Verdict> Prove(const replay::Replay& game);

    std::size_t Workers() const { return workers.size(); }
    // Posts proving or waiting for a worker now.
    std::size_t Busy() {
        const std::lock_guard<std::mutex> hold(lock);
        return static_cast<std::size_t>(inside);
    }

  private:
    struct Job {
        replay::Replay game;
        Done done;
    };

    void Work();

    const int mostPosts;
    std::mutex lock;
    std::condition_variable waiting;
    std::deque<Job> queue;
    int inside = 0;  // proving or queued
    bool closing = false;
    std::vector<std::thread> workers;
};

}  // namespace server
