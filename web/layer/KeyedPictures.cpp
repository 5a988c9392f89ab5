// The browser's own keyed pictures, in place of the desktop's: there the key colour is tested at
// every copy unless the picture is prepared for it, while in the browser the key colour's pixels
// were made transparent at load time and every copy is the canvas's own.
#include "gfx/KeyedPictures.h"

#include "gfx/Blit.h"

void PrepareKeyed(SDL_Surface* /*picture*/) {}

// In the browser the key colour became transparency at load time, so no picture is known to cover
// what it is drawn over.
bool CoversWhatItIsDrawnOver(SDL_Surface* /*picture*/) {
    return false;
}

// Nor are there runs of drawn pixels to keep.
bool KeepsRunLengths() {
    return false;
}
