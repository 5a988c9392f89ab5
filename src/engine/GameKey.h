#pragma once

// The only codes a screen ever receives in KeyPressed.
enum GameKey {
    KeyLeft = 1,   // left arrow held: sent in every frame
    KeyRight = 2,  // right arrow held: sent in every frame
    KeyEnter = 3,  // Return pressed, outside name typing
    KeySpace = 4,  // Space pressed, outside name typing
    KeyWatch = 5,  // R pressed, outside name typing: the high-score list watches the best game
    KeyTable = 6,  // Tab pressed, outside name typing: the list flips to the shared table and back
};
