#include "engine/Display.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/DisplayRules.h"
#include "engine/Enlarge.h"

namespace {
using display::kBitsPerPixel;
using display::kFrameHeight;
using display::kFrameWidth;

// A picture of the frame's size in the window's pixel layout, holding what the window shows.
SurfacePtr CopyOfWindow(SDL_Surface& window) {
    return SurfacePtr(SDL_ConvertSurface(&window, window.format, SDL_SWSURFACE));
}

SurfacePtr FrameLike(const SDL_Surface& window) {
    const SDL_PixelFormat& format = *window.format;
    return SurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, kFrameWidth, kFrameHeight, kBitsPerPixel,
                                           format.Rmask, format.Gmask, format.Bmask, format.Amask));
}

// A game that lost its window cannot go on: say so and stop, as a failed start does.
[[noreturn]] void StopWithoutWindow() {
    std::fprintf(stderr, "arcade-game: SDL_SetVideoMode failed: %s\n", SDL_GetError());
    SDL_Quit();
    std::exit(1);
}
}  // namespace

DesktopSize ReadDesktopSize() {
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info == nullptr || info->current_w <= 0 || info->current_h <= 0) {
        return {};
    }
    return {info->current_w, info->current_h};
}

int FittingScale(DesktopSize desktop, int room) {
    int fitting = display::kSmallestScale;
    for (int scale = display::kSmallestScale; scale <= display::kLargestScale; ++scale) {
        if (kFrameWidth * scale <= desktop.width && kFrameHeight * scale + room <= desktop.height) {
            fitting = scale;
        }
    }
    return fitting;
}

Display::Display(int scale, bool fullScreen, DesktopSize desktop, bool wholeScalesOnly)
    : desktop(desktop),
      scale(scale == display::kAutoScale ? FittingScale(desktop, display::kPanelRoom) : scale),
      pickedToFit(scale == display::kAutoScale),
      wholeScalesOnly(wholeScalesOnly) {
    const int width = kFrameWidth * this->scale;
    const int height = kFrameHeight * this->scale;
    if (this->scale > display::kSmallestScale && desktop.width > 0 && desktop.height > 0 &&
        (width > desktop.width || height > desktop.height)) {
        std::fprintf(stderr,
                     "arcade-game: a window at scale %d (%d x %d) is larger than the desktop "
                     "(%d x %d); opening it as asked\n",
                     this->scale, width, height, desktop.width, desktop.height);
    }
    if (fullScreen) {
        ToggleFullScreen();
    }
    if (window == nullptr) {
        Show(false);
    }
}

bool Display::Show(bool full) {
    // The frame's picture outlives the window it was shown in: a player who changes the window
    // in the middle of a screen sees that screen go on, whatever it draws or leaves standing.
    if (window != nullptr && frame == window) {
        ownFrame = CopyOfWindow(*window);
        frame = ownFrame.get();
    }
    const int shown = full ? FittingScale(desktop, 0) : scale;
    const int width = full ? desktop.width : kFrameWidth * shown;
    const int height = full ? desktop.height : kFrameHeight * shown;
    SDL_Surface* opened = SDL_SetVideoMode(width, height, kBitsPerPixel, full ? SDL_FULLSCREEN : 0);
    if (opened == nullptr) {
        window = nullptr;
        return false;
    }
    window = opened;
    shownScale = shown;
    int shownWidth = kFrameWidth * shown;
    int shownHeight = kFrameHeight * shown;
    filling.reset();
    if (full && !wholeScalesOnly && shownHeight * 100 < height * display::kFilledPercent) {
        // The height, and the width that keeps the frame's shape, unless the screen is narrower.
        shownHeight = height;
        shownWidth = height * kFrameWidth / kFrameHeight;
        if (shownWidth > width) {
            shownWidth = width;
            shownHeight = width * kFrameHeight / kFrameWidth;
        }
        filling = std::make_unique<SharpScale>(kFrameWidth, kFrameHeight, shownWidth, shownHeight);
    }
    area = {static_cast<Sint16>((width - shownWidth) / 2),
            static_cast<Sint16>((height - shownHeight) / 2), static_cast<Uint16>(shownWidth),
            static_cast<Uint16>(shownHeight)};
    if (!full && shown == 1) {
        // At scale 1 the window is the frame, as the game has always drawn it.
        if (ownFrame != nullptr) {
            SDL_BlitSurface(ownFrame.get(), nullptr, window, nullptr);
            ownFrame.reset();
        }
        frame = window;
        return true;
    }
    if (ownFrame == nullptr) {
        ownFrame = FrameLike(*window);
    }
    frame = ownFrame.get();
    if (full) {
        // The black around the frame is drawn once; each frame then sends its own area only.
        SDL_FillRect(window, nullptr, SDL_MapRGB(window->format, 0, 0, 0));
        SDL_Flip(window);
    }
    return frame != nullptr;
}

void Display::ReopenWindow() {
    if (!Show(false)) {
        StopWithoutWindow();
    }
}

const char* Display::FullScreenRefusal() const {
    if (desktop.width <= 0 || desktop.height <= 0) {
        return "the video driver does not tell the desktop's size";
    }
    if (desktop.width < kFrameWidth || desktop.height < kFrameHeight) {
        return "the desktop is smaller than the game";
    }
    return nullptr;
}

void Display::ToggleFullScreen() {
    if (fullScreen) {
        fullScreen = false;
        ReopenWindow();
        return;
    }
    const char* refusal = FullScreenRefusal();
    if (refusal == nullptr && Show(true)) {
        fullScreen = true;
        return;
    }
    const std::string reason = refusal != nullptr ? refusal : SDL_GetError();
    // A driver that failed to switch may have taken the old window with it.
    if (window == nullptr && frame != nullptr) {
        ReopenWindow();
    }
    if (!toldNoFullScreen) {
        std::fprintf(stderr, "arcade-game: no full screen, playing on in the window: %s\n",
                     reason.c_str());
        toldNoFullScreen = true;
    }
}

void Display::StepScale(int step) {
    if (fullScreen) {
        return;
    }
    // A window larger than the desktop shows only part of the game; a player who asked for
    // one on the command line keeps it, but the keys do not grow past what fits.
    int largest = display::kLargestScale;
    if (desktop.width > 0 && desktop.height > 0) {
        largest = std::max(scale, FittingScale(desktop, display::kPanelRoom));
    }
    const int next = std::clamp(scale + step, display::kSmallestScale, largest);
    if (next == scale) {
        return;
    }
    const int before = scale;
    scale = next;
    pickedToFit = false;
    if (!Show(false)) {
        scale = before;
        ReopenWindow();
    }
}

void Display::Present() {
    if (window == nullptr || frame == nullptr) {
        return;
    }
    if (frame == window) {
        SDL_Flip(window);
        return;
    }
    if (filling != nullptr) {
        filling->Draw(*frame, *window, area.x, area.y);
    } else {
        Enlarge(*frame, *window, area.x, area.y, shownScale);
    }
    if (fullScreen) {
        SDL_UpdateRect(window, area.x, area.y, area.w, area.h);
    } else {
        SDL_Flip(window);
    }
}
