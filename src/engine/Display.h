#pragma once

#include <SDL.h>

#include <memory>

#include "engine/SharpScale.h"
#include "gfx/SdlPtr.h"

// The desktop's size as SDL tells it before the game's first window; 0 x 0 where it does not.
struct DesktopSize {
    int width = 0;
    int height = 0;
};
DesktopSize ReadDesktopSize();
// The largest scale whose frame fits the desktop with room rows to spare, and 1 when none does
// or the desktop's size is unknown.
int FittingScale(DesktopSize desktop, int room);

// The window and the frame's way to it. The game draws every frame into one 640 x 480 picture;
// at scale 1 in a window that picture is the window itself, flipped as ever. At a larger scale
// the window is 640N x 480N and each pixel of the frame reaches it as an N x N block; full screen
// keeps the desktop's own resolution and shows the frame at the largest scale that fits, centred
// on black; where that would leave much of a small screen's height unused, the frame fills the
// height, sharply scaled (unless the player keeps whole scales only).
class Display {
  public:
    // scale is 1 to 8 or display::kAutoScale; one larger than the desktop is taken, with a line on
    // standard error. A full screen the driver refuses gives the window and one line on standard
    // error. Without any window, Frame() is null. wholeScalesOnly: full screen never fills a small
    // screen by a scale that is no whole number.
    Display(int scale, bool fullScreen, DesktopSize desktop, bool wholeScalesOnly = false);
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // What the game draws on: the same 640 x 480 picture from frame to frame, except that it may
    // move when the window changes (its picture goes along).
    SDL_Surface* Frame() const { return frame; }
    // Brings the frame to the screen: the one flip of a frame, or in full screen an update of
    // the frame's own area only, since the black around it never changes.
    void Present();

    void ToggleFullScreen();
    // One step larger (+1) or smaller (-1) in a window, no larger than the desktop holds.
    // Full screen is as large as it can be already, so there it does nothing.
    void StepScale(int step);

    // The window's scale, also while full screen shows another.
    int Scale() const { return scale; }
    // The scale was picked to fit the desktop and the player has not changed it since.
    bool ScalePickedToFit() const { return pickedToFit; }
    bool FullScreen() const { return fullScreen; }

  private:
    bool Show(bool full);
    void ReopenWindow();
    const char* FullScreenRefusal() const;

    DesktopSize desktop;
    int scale;
    bool pickedToFit;
    bool fullScreen = false;
    SDL_Surface* window = nullptr;  // SDL owns it
    SurfacePtr ownFrame;            // the frame, when it is not the window itself
    SDL_Surface* frame = nullptr;
    SDL_Rect area{};  // where the enlarged frame lies in the window
    int shownScale = 1;
    bool wholeScalesOnly;
    std::unique_ptr<SharpScale> filling;  // while full screen fills a small screen's height
    bool toldNoFullScreen = false;
};
