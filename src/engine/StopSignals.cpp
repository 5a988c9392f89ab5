#include "engine/StopSignals.h"

#include <pthread.h>
#include <signal.h>

#include <ctime>

namespace {
constexpr int kStops[] = {SIGINT, SIGTERM};

sigset_t Stops() {
    sigset_t stops;
    sigemptyset(&stops);
    for (const int stop : kStops) {
        sigaddset(&stops, stop);
    }
    return stops;
}
}  // namespace

StopSignals::StopSignals() {
    const sigset_t stops = Stops();
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &stops, &before);
    for (int i = 0; i < 2; ++i) {
        wereHeld[i] = sigismember(&before, kStops[i]) == 1;
    }
}

StopSignals::~StopSignals() {
    sigset_t release;
    sigemptyset(&release);
    for (int i = 0; i < 2; ++i) {
        if (!wereHeld[i]) {
            sigaddset(&release, kStops[i]);
        }
    }
    pthread_sigmask(SIG_UNBLOCK, &release, nullptr);
}

bool StopSignals::Take() {
    // Asked every frame: one cheap look, and the wait (which takes the signal) only when one came.
    sigset_t pending;
    if (sigpending(&pending) != 0 ||
        (sigismember(&pending, SIGINT) != 1 && sigismember(&pending, SIGTERM) != 1)) {
        return false;
    }
    const sigset_t stops = Stops();
    const timespec now{};
    while (sigtimedwait(&stops, nullptr, &now) > 0) {
    }
    return true;
}
