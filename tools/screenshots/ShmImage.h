#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

// A window's pixels read through memory shared with the X server: a large window's millions of
// bytes are not sent through the socket on every grab. Where the server cannot share memory,
// ok() is false and the caller reads the pixels the plain way.
class ShmImage {
  public:
    ShmImage(Display* display, int width, int height);
    ~ShmImage();
    ShmImage(const ShmImage&) = delete;
    ShmImage& operator=(const ShmImage&) = delete;

    bool ok() const { return attached; }
    int width() const { return image != nullptr ? image->width : 0; }
    int height() const { return image != nullptr ? image->height : 0; }
    // The window's pixels from its top-left corner, or null when they cannot be read.
    XImage* Read(Window window);

  private:
    Display* display;
    XShmSegmentInfo info{};
    XImage* image = nullptr;
    bool attached = false;
};
