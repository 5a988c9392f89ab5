#pragma once

#include <string>

// SDL 1.2, left to choose where there is no display, falls back on drawing the game as coloured
// text in the terminal, where it cannot be played, and on other drivers that are no window
// either. A driver the player names in SDL_VIDEODRIVER is theirs to have, whatever it is.

// Whether there is plainly no display to open a window on, before SDL is asked: no driver named
// (asked, SDL_VIDEODRIVER) and no X or Wayland display (x11, DISPLAY; wayland, WAYLAND_DISPLAY).
// Each is null when unset; an empty one counts as unset.
bool NoDisplayToOpen(const char* asked, const char* x11, const char* wayland);

// Starts SDL and all its subsystems (SDL_Init). Where the player names no video driver, SDL may
// start only a window system's own: X's on DISPLAY, then Wayland's on WAYLAND_DISPLAY, never a
// driver it would fall back on after them, which could write to the terminal before anyone could
// stop it. Returns false with why: the displays tried and SDL's reason, or SDL's reason alone for
// a driver the player named. SDL is started or as it was.
bool StartSdlOnWindow(std::string& why);
