#pragma once

#include <sys/types.h>

#include <cstddef>

// The system calls that read the high-score file whole and put a new one in place. The game uses
// them as they are; a test replaces one to make storing fail part way, as a full disk or a dying
// drive would.
class HighScoreIo {
  public:
    virtual ~HighScoreIo() = default;

    virtual ssize_t Write(int fd, const char* data, std::size_t size);
    virtual int Sync(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual off_t Seek(int fd, off_t offset, int whence);
};
