#include "GameWindow.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

// Where a colour channel sits in a pixel of the grabbed image, as its mask says.
int ShiftOf(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

struct DestroyImage {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

}  // namespace

GameWindow::GameWindow(Window window) : display(XOpenDisplay(nullptr)), window(window) {
    if (!display) {
        return;
    }
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    hasXTest = XTestQueryExtension(display.get(), &event, &error, &major, &minor) == True;
    // A held arrow must stay one press: repeats would crowd the game's one event a frame.
    XAutoRepeatOff(display.get());
    XSync(display.get(), False);
}

GameWindow::~GameWindow() {
    if (display) {
        ReleaseAll();
        XAutoRepeatOn(display.get());
        XSync(display.get(), False);
    }
}

bool GameWindow::Grab(Picture& into) {
    // A game shown at a larger scale has each pixel as a scale x scale block: one of each is read.
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display.get(), window, &attributes) == 0) {
        return false;
    }
    const int scale = attributes.width / facts::kWindowWidth;
    if (scale < 1 || attributes.width != facts::kWindowWidth * scale ||
        attributes.height != facts::kWindowHeight * scale) {
        return false;
    }
    if (!shared || shared->width() != attributes.width || shared->height() != attributes.height) {
        shared = std::make_unique<ShmImage>(display.get(), attributes.width, attributes.height);
    }
    std::unique_ptr<XImage, DestroyImage> own;
    XImage* image = shared->Read(window);
    if (image == nullptr) {
        own.reset(XGetImage(display.get(), window, 0, 0, attributes.width, attributes.height,
                            AllPlanes, ZPixmap));
        image = own.get();
    }
    if (image == nullptr) {
        return false;
    }
    const int redShift = ShiftOf(image->red_mask);
    const int greenShift = ShiftOf(image->green_mask);
    const int blueShift = ShiftOf(image->blue_mask);
    const bool plain32 = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                         image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 &&
                         image->blue_mask == 0xFF;
    for (int y = 0; y < facts::kWindowHeight; ++y) {
        const auto* row =
            reinterpret_cast<const unsigned char*>(image->data + y * scale * image->bytes_per_line);
        for (int x = 0; x < facts::kWindowWidth; ++x) {
            facts::Rgb colour;
            if (plain32) {
                const unsigned char* p = row + 4 * x * scale;
                colour = (facts::Rgb{p[2]} << 16) | (facts::Rgb{p[1]} << 8) | p[0];
            } else {
                const unsigned long pixel = XGetPixel(image, x * scale, y * scale);
                colour =
                    static_cast<facts::Rgb>((((pixel & image->red_mask) >> redShift) << 16) |
                                            (((pixel & image->green_mask) >> greenShift) << 8) |
                                            ((pixel & image->blue_mask) >> blueShift));
            }
            into.Set(x, y, colour);
        }
    }
    return true;
}

void GameWindow::Hold(KeySym key, bool down) {
    if ((held.count(key) != 0) == down) {
        return;
    }
    XTestFakeKeyEvent(display.get(), XKeysymToKeycode(display.get(), key), down ? True : False,
                      CurrentTime);
    XFlush(display.get());
    if (down) {
        held.insert(key);
    } else {
        held.erase(key);
    }
}

void GameWindow::Tap(KeySym key) {
    const KeyCode code = XKeysymToKeycode(display.get(), key);
    XTestFakeKeyEvent(display.get(), code, True, CurrentTime);
    XTestFakeKeyEvent(display.get(), code, False, CurrentTime);
    XFlush(display.get());
}

void GameWindow::ReleaseAll() {
    while (!held.empty()) {
        Hold(*held.begin(), false);
    }
}
