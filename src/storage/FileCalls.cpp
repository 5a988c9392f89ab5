#include "storage/FileCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

namespace storage {

int FileCalls::MakeTemporary(char* pattern) {
    return ::mkostemp(pattern, O_CLOEXEC);
}

ssize_t FileCalls::Write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileCalls::Sync(int fd) {
    return ::fsync(fd);
}

int FileCalls::Close(int fd) {
    return ::close(fd);
}

int FileCalls::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}

int FileCalls::SyncFolder(const char* folder) {
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

}  // namespace storage
