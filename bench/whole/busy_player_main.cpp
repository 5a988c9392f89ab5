// Plays one game in the real window for the whole-process benchmark.
//   arcade-busy-player WINDOW-ID
// Prints "level N" when two airplanes are up and "over" when the game has ended. SIGUSR1 says
// the busy field has been measured: the cannon then walks into a bomb. Exit status: 0 the game
// reached level 2 and has ended; 3 it was lost before level 2 (worth another game); 4 it took
// too long; 1 no display, no XTest, or the window went away.
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "BusyPlayer.h"

namespace {
std::atomic<bool> stopRequested{false};
void RequestStop(int) {
    stopRequested = true;
}
}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: arcade-busy-player WINDOW-ID\n");
        return 2;
    }
    std::signal(SIGUSR1, RequestStop);
    GameWindow window(std::strtoul(argv[1], nullptr, 0));
    if (!window.ok()) {
        std::fprintf(stderr, "arcade-busy-player: no display, or no XTest extension on it\n");
        return 1;
    }
    BusyPlayer player(window, stopRequested);
    switch (player.Play()) {
        case BusyPlayer::Outcome::Ended:
            return 0;
        case BusyPlayer::Outcome::LostEarly:
            return 3;
        case BusyPlayer::Outcome::TimedOut:
            return 4;
        case BusyPlayer::Outcome::WindowGone:
            break;
    }
    std::fprintf(stderr, "arcade-busy-player: the window went away\n");
    return 1;
}
