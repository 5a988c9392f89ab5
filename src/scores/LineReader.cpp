#include "scores/LineReader.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "scores/Descriptor.h"

namespace {
constexpr std::size_t kChunk = 64 * 1024;

// Only a regular file is read: a device behind the name (a stream of zeros that never ends) or a
// pipe (which would wait for a writer) is not the game's file. The name has been checked for links
// already (TrustedFile): one that turns into a link after the check is not opened.
LineReader::Result OpenRegular(const std::string& path, int& fd, struct stat& facts) {
    using Result = LineReader::Result;
    if (lstat(path.c_str(), &facts) != 0) {
        return errno == ENOENT ? Result::Missing : Result::Failed;
    }
    if (S_ISLNK(facts.st_mode)) {
        errno = ELOOP;  // a link put there since the check is not followed
        return Result::Failed;
    }
    if (!S_ISREG(facts.st_mode)) {
        return Result::NotRegular;
    }
    // Should the name turn into a pipe after the check, opening it must not wait for a writer.
    fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? Result::Missing : Result::Failed;
    }
    if (fstat(fd, &facts) != 0) {
        return Result::Failed;
    }
    return S_ISREG(facts.st_mode) ? Result::Whole : Result::NotRegular;
}
}  // namespace

LineReader::Result LineReader::Read(const std::string& path, std::vector<std::string>& entries) {
    int raw = -1;
    const Result opened = OpenRegular(path, raw, facts);
    Descriptor fd(raw);
    if (opened != Result::Whole) {
        return opened;
    }
    try {
        return ReadOpen(fd.Get(), entries);
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return Result::Failed;
    }
}

// Counts the lines without keeping any of them, so that a hostile file of nothing but line feeds
// is turned away before it fills the memory, then goes back to the start of the file. Returns
// false, with errno set, when the file could not be read or rewound: reading on from anywhere
// but its start would keep only part of the file, and storing would lose the rest.
bool LineReader::HasMoreLinesThan(int fd, std::size_t most, std::vector<char>& buffer, bool& more) {
    std::size_t lines = 0;
    bool inLine = false;
    for (;;) {
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        const char* next = buffer.data();
        const char* const end = buffer.data() + got;
        while (const char* feed = static_cast<const char*>(
                   std::memchr(next, '\n', static_cast<std::size_t>(end - next)))) {
            ++lines;
            next = feed + 1;
        }
        inLine = next < end;
        if (lines > most) {
            break;
        }
    }
    more = lines + (inLine ? 1 : 0) > most;
    return io.Seek(fd, 0, SEEK_SET) == 0;
}

LineReader::Result LineReader::ReadOpen(int fd, std::vector<std::string>& entries) {
    const Result tooMuch = limits.whole ? Result::TooLarge : Result::Cut;
    if (limits.whole && static_cast<std::size_t>(facts.st_size) > limits.bytes) {
        return tooMuch;
    }
    std::vector<char> buffer(kChunk);
    // Fewer bytes than the line limit cannot hold more lines than it.
    if (limits.whole && static_cast<std::size_t>(facts.st_size) >= limits.lines) {
        bool more = false;
        if (!HasMoreLinesThan(fd, limits.lines - 1, buffer, more)) {
            return Result::Failed;
        }
        if (more) {
            return tooMuch;
        }
    }
    std::string line;
    bool inLine = false;  // bytes seen since the last line feed
    std::size_t lines = 0;
    std::size_t total = 0;
    for (;;) {
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return Result::Failed;
        }
        if (got == 0) {
            if (inLine) {
                entries.push_back(std::move(line));
            }
            return Result::Whole;
        }
        total += static_cast<std::size_t>(got);
        const char* next = buffer.data();
        const char* const end = buffer.data() + got;
        while (next < end) {
            const char* feed = static_cast<const char*>(
                std::memchr(next, '\n', static_cast<std::size_t>(end - next)));
            const char* stop = feed != nullptr ? feed : end;
            const std::size_t room =
                limits.bytesPerLine - std::min(limits.bytesPerLine, line.size());
            line.append(next, std::min(room, static_cast<std::size_t>(stop - next)));
            inLine = inLine || stop > next;
            if (feed == nullptr) {
                break;
            }
            entries.push_back(std::move(line));
            line.clear();
            inLine = false;
            next = feed + 1;
            if (++lines >= limits.lines) {
                return tooMuch;
            }
        }
        if (total > limits.bytes) {
            if (inLine && !limits.whole) {
                entries.push_back(std::move(line));
            }
            return tooMuch;
        }
    }
}
