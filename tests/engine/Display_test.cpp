#include "engine/Display.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/DisplayRules.h"

namespace {

// SDL's video alone, headless: the display opens its windows in memory.
class VideoOnly {
  public:
    VideoOnly() { SDL_Init(SDL_INIT_VIDEO); }
    ~VideoOnly() { SDL_Quit(); }
    VideoOnly(const VideoOnly&) = delete;
    VideoOnly& operator=(const VideoOnly&) = delete;
};

Uint32 RawPixel(const SDL_Surface& surface, int x, int y) {
    return static_cast<const Uint32*>(surface.pixels)[y * surface.pitch / 4 + x];
}

// Every pixel different from its neighbours, so a block that is one pixel off shows.
void PaintNoise(SDL_Surface& frame) {
    Uint32 seed = 12345;
    for (int y = 0; y < frame.h; ++y) {
        for (int x = 0; x < frame.w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            static_cast<Uint32*>(frame.pixels)[y * frame.pitch / 4 + x] = seed >> 8;
        }
    }
}

// Pixels of the window that are not the frame's pixel (x, y) repeated scale x scale times
// from (left, top), nor black outside it.
int WrongPixels(const SDL_Surface& window, const SDL_Surface& frame, int left, int top, int scale) {
    int wrong = 0;
    for (int y = 0; y < window.h; ++y) {
        for (int x = 0; x < window.w; ++x) {
            const int fx = (x - left) / scale;
            const int fy = (y - top) / scale;
            const bool inside = x >= left && y >= top && fx < frame.w && fy < frame.h;
            const Uint32 expected = inside ? RawPixel(frame, fx, fy) : 0;
            wrong += RawPixel(window, x, y) != expected;
        }
    }
    return wrong;
}

TEST(Display, EachPixelOfTheFrameReachesTheWindowAsAnNByNBlock) {
    for (int scale : {2, 3}) {
        VideoOnly video;
        Display display(scale, false, {});
        SDL_Surface* frame = display.Frame();
        ASSERT_NE(frame, nullptr);
        SDL_Surface* window = SDL_GetVideoSurface();
        ASSERT_NE(frame, window);
        EXPECT_EQ(frame->w, 640);
        EXPECT_EQ(frame->h, 480);
        EXPECT_EQ(window->w, 640 * scale);
        EXPECT_EQ(window->h, 480 * scale);
        PaintNoise(*frame);
        display.Present();
        EXPECT_EQ(WrongPixels(*window, *frame, 0, 0, scale), 0) << "at " << scale << "x";
    }
    VideoOnly video;
    Display plain(1, false, {1920, 1080});
    EXPECT_EQ(plain.Frame(), SDL_GetVideoSurface()) << "at 1x the game draws on the window";
}

TEST(Display, FullScreenCentresTheLargestFittingScaleOnBlackAndKeepsTheWindowsScale) {
    VideoOnly video;
    Display display(3, false, {1920, 1080});
    PaintNoise(*display.Frame());

    display.ToggleFullScreen();
    SDL_Surface* window = SDL_GetVideoSurface();
    ASSERT_TRUE(display.FullScreen());
    EXPECT_EQ(window->w, 1920);
    EXPECT_EQ(window->h, 1080);
    EXPECT_NE(window->flags & SDL_FULLSCREEN, 0u);
    display.Present();
    EXPECT_EQ(WrongPixels(*window, *display.Frame(), 320, 60, 2), 0);
    display.StepScale(-1);
    EXPECT_EQ(display.Scale(), 3) << "full screen is as large as it goes";

    // Back in the window at 3x, which the desktop could not hold: the keys only shrink it, and
    // the picture goes along through every change down to the window that is the frame.
    display.ToggleFullScreen();
    EXPECT_FALSE(display.FullScreen());
    display.StepScale(+1);
    for (int scale : {3, 2, 1}) {
        EXPECT_EQ(display.Scale(), scale);
        window = SDL_GetVideoSurface();
        EXPECT_EQ(window->w, 640 * scale);
        display.Present();
        EXPECT_EQ(WrongPixels(*window, *display.Frame(), 0, 0, scale), 0) << "at " << scale;
        display.StepScale(-1);
    }
    EXPECT_EQ(display.Frame(), SDL_GetVideoSurface());
    display.StepScale(+1);
    display.StepScale(+1);
    EXPECT_EQ(display.Scale(), 2) << "the keys grow the window only as far as the desktop holds";
}

TEST(Display, AutoPicksTheLargestWindowThatLeavesRoomForThePanels) {
    EXPECT_EQ(FittingScale({1024, 768}, display::kPanelRoom), 1);
    EXPECT_EQ(FittingScale({1920, 1080}, display::kPanelRoom), 2);
    EXPECT_EQ(FittingScale({3840, 2160}, display::kPanelRoom), 4);
    EXPECT_EQ(FittingScale({1280, 1024}, display::kPanelRoom), 2) << "an exact fit fits";
    EXPECT_EQ(FittingScale({1280, 960}, 0), 2);
    EXPECT_EQ(FittingScale({}, display::kPanelRoom), 1);
    VideoOnly video;
    Display display(display::kAutoScale, false, {1920, 1080});
    EXPECT_EQ(SDL_GetVideoSurface()->w, 1280);
    EXPECT_TRUE(display.ScalePickedToFit());
}

// One-pixel stripes: any blur or any dropped pixel shows.
void PaintStripes(SDL_Surface& frame) {
    for (int y = 0; y < frame.h; ++y) {
        for (int x = 0; x < frame.w; ++x) {
            static_cast<Uint32*>(frame.pixels)[y * frame.pitch / 4 + x] =
                (x + y) % 2 == 0 ? 0xFFFFFFu : 0x000000u;
        }
    }
}

TEST(Display, FullScreenFillsASmallScreensHeightSharplyUnlessWholeScalesAreKept) {
    {
        VideoOnly video;
        Display display(1, false, {1366, 768});
        PaintStripes(*display.Frame());
        display.ToggleFullScreen();
        ASSERT_TRUE(display.FullScreen());
        display.Present();
        const SDL_Surface& window = *SDL_GetVideoSurface();
        const SDL_Surface& frame = *display.Frame();
        // 1024 x 768 from x 171: black on either side, the frame's corners exactly at the corners.
        EXPECT_EQ(RawPixel(window, 170, 400), 0u);
        EXPECT_EQ(RawPixel(window, 1195, 400), 0u);
        EXPECT_EQ(RawPixel(window, 171, 0), RawPixel(frame, 0, 0));
        EXPECT_EQ(RawPixel(window, 1194, 767), RawPixel(frame, 639, 479));
        // Sharp: a pixel is its frame pixel's colour exactly unless it lies where two meet; a
        // smooth scale of the frame itself would blur nearly every one of them.
        int exact = 0;
        for (int x = 171; x < 1195; ++x) {
            const Uint32 shown = RawPixel(window, x, 0) & 0xFFFFFFu;
            exact += shown == 0xFFFFFFu || shown == 0u;
        }
        EXPECT_EQ(exact, 512);
    }
    // Whole scales only: the 640 x 480 frame in the middle, and a screen that a whole scale fills
    // by four fifths or more shows it so either way, with no room kept for panels.
    for (const bool whole : {true, false}) {
        for (const DesktopSize desktop : {DesktopSize{1366, 768}, DesktopSize{1280, 960}}) {
            VideoOnly video;
            Display display(1, false, desktop, whole);
            PaintNoise(*display.Frame());
            display.ToggleFullScreen();
            display.Present();
            if (whole || desktop.height == 960) {
                const int scale = desktop.height / 480;
                EXPECT_EQ(WrongPixels(*SDL_GetVideoSurface(), *display.Frame(),
                                      (desktop.width - 640 * scale) / 2,
                                      (desktop.height - 480 * scale) / 2, scale),
                          0)
                    << desktop.width << " x " << desktop.height << (whole ? ", whole" : "");
            }
        }
    }
}

TEST(Display, WithoutTheDesktopsSizeFullScreenIsRefusedOnceAndPlayStaysInTheWindow) {
    VideoOnly video;
    testing::internal::CaptureStderr();
    Display display(2, true, {});
    display.ToggleFullScreen();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(display.FullScreen());
    EXPECT_EQ(SDL_GetVideoSurface()->w, 1280);
    EXPECT_EQ(said,
              "arcade-game: no full screen, playing on in the window: the video driver does not "
              "tell the desktop's size\n");
}

}  // namespace
