#pragma once

// The sizes of the picture the game draws and of the windows it may be shown in.
namespace display {
// Every frame is drawn at this size, whatever reaches the window.
constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
constexpr int kBitsPerPixel = 32;

// A scale N shows each pixel of the frame as an N x N block.
constexpr int kSmallestScale = 1;
constexpr int kLargestScale = 8;
// Asked for instead of a number: the largest scale whose window fits the desktop.
constexpr int kAutoScale = 0;
// Height left free for the desktop's panels and the window's title bar when a scale is picked to
// fit: 2 on a 1920 x 1080 desktop (960 + 64 <= 1080), 4 on 3840 x 2160.
constexpr int kPanelRoom = 64;
// Full screen fills the screen's height (sharp, not by whole numbers) when the largest whole scale
// would leave more than this share of it unused: 1366 x 768 shows 1024 x 768 rather than 640 x 480.
constexpr int kFilledPercent = 80;
}  // namespace display
