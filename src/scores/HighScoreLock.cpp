#include "scores/HighScoreLock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool WaitForLock(int fd) {
    while (flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}
}  // namespace

HighScoreLock::HighScoreLock(const std::string& folder, const std::string& file) {
    fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        if (WaitForLock(fd)) {
            onFolder = true;
            return;
        }
        close(fd);
        fd = -1;
    }
    // A folder we may write into but not list: the file itself is the next best thing.
    LockFile(file);
}

HighScoreLock::~HighScoreLock() {
    if (fd >= 0) {
        close(fd);
    }
}

void HighScoreLock::LockFile(const std::string& file) {
    // A game that stored while we waited has put a new file in place: the lock we got is on the
    // old one, so take it again on the file that stands there now.
    for (;;) {
        const int candidate = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (candidate < 0) {
            return;  // nothing to lock yet: the first score goes in unguarded
        }
        struct stat locked;
        struct stat current;
        if (!WaitForLock(candidate) || fstat(candidate, &locked) != 0) {
            close(candidate);
            return;
        }
        if (stat(file.c_str(), &current) == 0 && current.st_dev == locked.st_dev &&
            current.st_ino == locked.st_ino) {
            fd = candidate;
            return;
        }
        close(candidate);
    }
}
