// The browser's window icon, in place of the desktop's: a page has no window of its own to give
// an icon, and shows the game's icon itself, so there is nothing to load.
#include "engine/WindowIcon.h"

void SetWindowIcon() {}
