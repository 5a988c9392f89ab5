#include "scores/HighScoreIo.h"

#include <unistd.h>

off_t HighScoreIo::Seek(int fd, off_t offset, int whence) {
    return ::lseek(fd, offset, whence);
}
