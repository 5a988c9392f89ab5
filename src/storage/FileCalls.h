#pragma once

#include <sys/types.h>

#include <cstddef>

namespace storage {

// The system calls that put a file in place for good. The game makes them as they are; a test
// replaces one to make a write fail part way (a full disk, a dying drive) or to watch their order.
class FileCalls {
  public:
    virtual ~FileCalls() = default;

    // mkostemp(3) with close-on-exec: the X's at the end of pattern become the file's own name.
    virtual int MakeTemporary(char* pattern);
    virtual ssize_t Write(int fd, const char* data, std::size_t size);
    virtual int Sync(int fd);
    virtual int Close(int fd);
    virtual int Rename(const char* from, const char* to);
    // Syncs the folder itself, so that a rename in it lasts too.
    virtual int SyncFolder(const char* folder);
};

}  // namespace storage
