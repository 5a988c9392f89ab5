#pragma once

#include <vector>

// What one grab of the window shows of a game, in the game's own coordinates (the top-left
// corners of the pictures).
struct Span {
    int lo;
    int hi;
};

struct SeenAirplane {
    bool visible = false;
    int x = 0;
};

struct SeenBomb {
    Span x;  // the left edge lies somewhere in here; wider when bombs overlap
    int y;
};

struct SeenBullet {
    int x;
    int y;
};

struct Field {
    bool playing = false;  // the play screen is up
    bool cannonSeen = false;
    int cannonX = 0;
    SeenAirplane red;
    SeenAirplane blue;
    std::vector<SeenBomb> bombs;
    std::vector<SeenBullet> bullets;
    std::vector<int> shields;  // left edges
    int level = 0;             // told by where the shields stand; 0 off the play screen
};
