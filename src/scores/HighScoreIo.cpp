#include "scores/HighScoreIo.h"

#include <stdio.h>
#include <unistd.h>

ssize_t HighScoreIo::Write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

int HighScoreIo::Sync(int fd) {
    return ::fsync(fd);
}

int HighScoreIo::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}

off_t HighScoreIo::Seek(int fd, off_t offset, int whence) {
    return ::lseek(fd, offset, whence);
}
