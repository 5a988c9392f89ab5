#pragma once

#include <unistd.h>

// Closes a file descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd; }
    // Closes now, so that a failing close can be seen.
    bool Close() {
        const int closing = fd;
        fd = -1;
        return close(closing) == 0;
    }

  private:
    int fd;
};
