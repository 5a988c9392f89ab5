#pragma once

// SDL 1.2, left to choose where there is no display, falls back on drawing the game as coloured
// text in the terminal, where it cannot be played. A driver the player names in SDL_VIDEODRIVER
// is theirs to have, whatever it is.

// Whether SDL picked a text-terminal driver (chosen) by itself: asked is SDL_VIDEODRIVER, null
// when unset.
bool FellBackOnTerminal(const char* asked, const char* chosen);
