#include "ShmImage.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

ShmImage::ShmImage(Display* display, int width, int height) : display(display) {
    if (XShmQueryExtension(display) == False) {
        return;
    }
    const int screen = DefaultScreen(display);
    image = XShmCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen),
                            ZPixmap, nullptr, &info, width, height);
    if (image == nullptr) {
        return;
    }
    info.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * image->height,
                        IPC_CREAT | 0600);
    if (info.shmid < 0) {
        return;
    }
    void* memory = shmat(info.shmid, nullptr, 0);
    // Marked for removal at once: it goes when both sides have let go, however this one ends.
    shmctl(info.shmid, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void*>(-1)) {
        return;
    }
    info.shmaddr = image->data = static_cast<char*>(memory);
    info.readOnly = False;
    attached = XShmAttach(display, &info) == True;
    XSync(display, False);
}

ShmImage::~ShmImage() {
    if (attached) {
        XShmDetach(display, &info);
        XSync(display, False);
    }
    if (info.shmaddr != nullptr) {
        shmdt(info.shmaddr);
    }
    if (image != nullptr) {
        // The pixels are the shared segment's, not the image's to free.
        image->data = nullptr;
        XDestroyImage(image);
    }
}

XImage* ShmImage::Read(Window window) {
    if (!attached || XShmGetImage(display, window, image, 0, 0, AllPlanes) == False) {
        return nullptr;
    }
    return image;
}
