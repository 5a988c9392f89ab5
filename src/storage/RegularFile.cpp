#include "storage/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace storage {

ReadResult ReadRegularFile(const std::string& path, std::size_t most, std::string& text,
                           int& error) {
    text.clear();
    error = 0;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = errno;
        // A file where a folder of the path should be: no file there either.
        return error == ENOENT || error == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
    }
    ReadResult result = ReadResult::Whole;
    struct stat facts {};
    if (fstat(fd, &facts) != 0) {
        error = errno;
        result = ReadResult::Failed;
    } else if (!S_ISREG(facts.st_mode)) {
        result = ReadResult::NotRegular;
    } else {
        // One byte more than the most tells a file that is too large without reading it all.
        text.resize(most + 1);
        std::size_t got = 0;
        while (got < text.size()) {
            const ssize_t read = ::read(fd, text.data() + got, text.size() - got);
            if (read < 0 && errno == EINTR) {
                continue;
            }
            if (read < 0) {
                error = errno;
                result = ReadResult::Failed;
                break;
            }
            if (read == 0) {
                break;
            }
            got += static_cast<std::size_t>(read);
        }
        text.resize(got);
        if (result == ReadResult::Whole && got > most) {
            result = ReadResult::TooLarge;
        }
    }
    close(fd);
    return result;
}

}  // namespace storage
