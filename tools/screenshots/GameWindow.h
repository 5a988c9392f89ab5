#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <set>

#include "Picture.h"
#include "ShmImage.h"

// The game's window on the X server: grabbed pixel for pixel, and played with real key presses
// through the XTest extension, as if from a keyboard. Keys go to the window under the pointer,
// so the caller has put the pointer there.
class GameWindow {
  public:
    // Opens $DISPLAY; ok() says whether that and the XTest extension worked.
    explicit GameWindow(Window window);
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    bool ok() const { return display != nullptr && hasXTest; }

    // False if the window is gone or not the size of the game.
    bool Grab(Picture& into);

    void Hold(KeySym key, bool down);
    void Tap(KeySym key);
    void ReleaseAll();

  private:
    struct CloseDisplay {
        void operator()(Display* d) const { XCloseDisplay(d); }
    };
    std::unique_ptr<Display, CloseDisplay> display;
    Window window;
    bool hasXTest = false;
    std::set<KeySym> held;
    std::unique_ptr<ShmImage> shared;  // for the window's present size
};
