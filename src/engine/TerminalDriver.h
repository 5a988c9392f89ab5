#pragma once

// SDL 1.2, left to choose where there is no display, falls back on drawing the game as coloured
// text in the terminal, where it cannot be played. A driver the player names in SDL_VIDEODRIVER
// is theirs to have, whatever it is.

// Whether there is plainly no display to open a window on, before SDL is asked: no driver named
// (asked, SDL_VIDEODRIVER) and no X or Wayland display (x11, DISPLAY; wayland, WAYLAND_DISPLAY).
// Each is null when unset; an empty one counts as unset.
bool NoDisplayToOpen(const char* asked, const char* x11, const char* wayland);

// Whether SDL picked a text-terminal driver (chosen) by itself: asked is SDL_VIDEODRIVER, null
// when unset. A display that is named but cannot be reached still ends up there.
bool FellBackOnTerminal(const char* asked, const char* chosen);
