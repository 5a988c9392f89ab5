#pragma once

// SIGINT and SIGTERM, held back for the frame to take. SDL turns them into its quit event from a
// handler of its own, installed as it starts; but the engine's start then tells SDL which events
// to ignore, and each of those calls empties the whole queue, so a stop sent while the window
// opened was thrown away and the game played on. A handler that queues from inside SDL's own
// queue work is no safer. Held, a stop signal waits until the frame asks for its event, when the
// queue keeps it (src/engine/UsedEvents.cpp).
class StopSignals {
  public:
    // Holds them back in this thread and in every thread started after it, SDL's among them.
    StopSignals();
    // Lets them through again as before; one that is still waiting then comes at once.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Whether a stop signal has come, held, since the last call. It is taken: a second signal
    // before the next call counts as the same stop.
    static bool Take();

  private:
    bool wereHeld[2];  // SIGINT, SIGTERM as this object found them
};
