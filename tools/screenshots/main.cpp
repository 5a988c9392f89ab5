// Plays the real game in its real window for the README's level-2 picture.
//   screenshot-player WINDOW-ID LEVEL2.ppm
// Exit status: 0 the picture is saved and the game has ended; 3 the game was lost before level 2
// (worth another try); 4 it took too long; 1 no display, no XTest or the window went away.
#include <cstdio>
#include <cstdlib>

#include "GameWindow.h"
#include "Player.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot-player WINDOW-ID LEVEL2.ppm\n");
        return 2;
    }
    GameWindow window(std::strtoul(argv[1], nullptr, 0));
    if (!window.ok()) {
        std::fprintf(stderr, "screenshot-player: no display, or no XTest extension on it\n");
        return 1;
    }
    Player player(window, argv[2]);
    switch (player.Play()) {
        case Player::Outcome::Shot:
            return 0;
        case Player::Outcome::Lost:
            return 3;
        case Player::Outcome::TimedOut:
            return 4;
        case Player::Outcome::WindowGone:
            break;
    }
    std::fprintf(stderr, "screenshot-player: the window went away\n");
    return 1;
}
