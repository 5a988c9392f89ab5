#include "scores/HighScoreFile.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <random>

#include "scores/PathParts.h"
#include "scores/TrustedFile.h"

namespace {
constexpr std::size_t kChunk = 64 * 1024;
constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();
// The list reads its few lines from the start of the file and gives up on a first line longer
// than this: a file of any size opens the list at once.
constexpr std::size_t kLongestListScan = 32 * 1024 * 1024;
// A fresh file gets these bits less the umask, like any file a program creates.
constexpr mode_t kNewFileMode = 0666;
constexpr int kTemporaryNameTries = 100;
constexpr std::size_t kTemporarySuffixLength = 6;
constexpr char kNameCharacters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

enum class ReadResult { Missing, Whole, Cut, TooLarge, NotRegular, Failed };

struct ReadLimits {
    std::size_t lines;
    std::size_t bytesPerLine;
    std::size_t bytes;
    // Reading for a rewrite needs all of the file: one past the limits cannot be stored safely.
    bool whole;
};

// Closes a descriptor when it goes out of scope.
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

// Only a regular file is read: a device behind the name (a stream of zeros that never ends) or a
// pipe (which would wait for a writer) is not the game's file. The name has been checked for links
// already (TrustedFile): one that turns into a link after the check is not opened.
ReadResult OpenRegular(const std::string& path, int& fd, struct stat& facts) {
    if (lstat(path.c_str(), &facts) != 0) {
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    }
    if (S_ISLNK(facts.st_mode)) {
        errno = ELOOP;  // a link put there since the check is not followed
        return ReadResult::Failed;
    }
    if (!S_ISREG(facts.st_mode)) {
        return ReadResult::NotRegular;
    }
    // Should the name turn into a pipe after the check, opening it must not wait for a writer.
    fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    }
    if (fstat(fd, &facts) != 0) {
        return ReadResult::Failed;
    }
    return S_ISREG(facts.st_mode) ? ReadResult::Whole : ReadResult::NotRegular;
}

// Whether the file holds more than most lines, counted without keeping any of them, so that a
// hostile file of nothing but line feeds is turned away before it fills the memory. Leaves the
// file at its start again.
bool HasMoreLinesThan(int fd, std::size_t most, std::vector<char>& buffer) {
    std::size_t lines = 0;
    bool inLine = false;
    for (;;) {
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
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
    lseek(fd, 0, SEEK_SET);
    return lines + (inLine ? 1 : 0) > most;
}

// Appends the lines of the file to entries. Only the line feed ends a line: a carriage return
// stays in the text, an empty line is an entry, a last line without a line feed is one too.
// Stops once limits.lines lines are in, or after limits.bytes bytes: with TooLarge when the whole
// file was wanted, with Cut otherwise. On Failed, errno tells why.
ReadResult ReadLines(const std::string& path, const ReadLimits& limits,
                     std::vector<std::string>& entries, struct stat& facts) {
    int raw = -1;
    const ReadResult opened = OpenRegular(path, raw, facts);
    Descriptor fd(raw);
    if (opened != ReadResult::Whole) {
        return opened;
    }
    const ReadResult tooMuch = limits.whole ? ReadResult::TooLarge : ReadResult::Cut;
    if (limits.whole && static_cast<std::size_t>(facts.st_size) > limits.bytes) {
        return tooMuch;
    }
    try {
        std::vector<char> buffer(kChunk);
        // Fewer bytes than the line limit cannot hold more lines than it.
        if (limits.whole && static_cast<std::size_t>(facts.st_size) >= limits.lines &&
            HasMoreLinesThan(fd.Get(), limits.lines - 1, buffer)) {
            return tooMuch;
        }
        std::string line;
        bool inLine = false;  // bytes seen since the last line feed
        std::size_t lines = 0;
        std::size_t total = 0;
        for (;;) {
            const ssize_t got = read(fd.Get(), buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return ReadResult::Failed;
            }
            if (got == 0) {
                if (inLine) {
                    entries.push_back(std::move(line));
                }
                return ReadResult::Whole;
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
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return ReadResult::Failed;
    }
}

std::string TemporaryName(const std::string& folder, const std::string& base,
                          std::minstd_rand& pick) {
    std::uniform_int_distribution<std::size_t> character(0, sizeof kNameCharacters - 2);
    std::string name = folder + "/." + base + ".";
    for (std::size_t i = 0; i < kTemporarySuffixLength; ++i) {
        name += kNameCharacters[character(pick)];
    }
    return name;
}

bool IsTemporaryName(const std::string& name, const std::string& base) {
    const std::string prefix = "." + base + ".";
    if (name.size() != prefix.size() + kTemporarySuffixLength ||
        name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (std::strchr(kNameCharacters, name[i]) == nullptr || name[i] == '\0') {
            return false;
        }
    }
    return true;
}

// A game killed while writing leaves its temporary file behind. Every writer holds the folder
// lock while its temporary file exists, so under that lock any such file is a leftover.
void RemoveLeftovers(const std::string& folder, const std::string& base) {
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        struct stat facts;
        if (IsTemporaryName(entry->d_name, base) &&
            fstatat(dirfd(listing), entry->d_name, &facts, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(facts.st_mode)) {
            unlinkat(dirfd(listing), entry->d_name, 0);
        }
    }
    closedir(listing);
}

// Creates a new file of our own beside the one it will replace.
int CreateTemporary(const std::string& folder, const std::string& base, std::string& name) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Not rand(): the game's bombs depend on the rand() sequence being left alone.
    std::minstd_rand pick(static_cast<std::minstd_rand::result_type>(getpid()) ^
                          static_cast<std::minstd_rand::result_type>(now.tv_nsec));
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        name = TemporaryName(folder, base, pick);
        const int fd =
            open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

void SyncFolder(const std::string& folder) {
    const Descriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) {
        fsync(fd.Get());
    }
}
}  // namespace

HighScoreFile::HighScoreFile(std::unique_ptr<HighScoreIo> io) : io(std::move(io)) {}

HighScoreFile::~HighScoreFile() = default;

bool HighScoreFile::ReadForUpdate(const std::string& path, std::vector<std::string>& entries) {
    readPath = path;
    failure = StoreFailure();
    readWhole = false;
    lock.reset();  // a lock still held from an earlier read would make us wait on ourselves
    if (!TrustedFile(path, target, failure)) {
        return false;
    }
    lock = std::make_unique<HighScoreLock>(FolderOf(target), target);
    struct stat facts {};
    const ReadResult result =
        ReadLines(target, {kMostEntries + 1, kUnlimited, kLargestFile, true}, entries, facts);
    const int error = errno;
    existed = result != ReadResult::Missing;
    mode = facts.st_mode;
    owner = facts.st_uid;
    group = facts.st_gid;
    // Writing after a short read would put a file with fewer entries in place of this one.
    readWhole = result == ReadResult::Missing || result == ReadResult::Whole;
    if (result == ReadResult::TooLarge) {
        Fail(StoreProblem::TooLarge, 0,
             "more than " + std::to_string(kLargestFile) + " bytes or " +
                 std::to_string(kMostEntries) + " lines: not a file this game wrote");
    } else if (result == ReadResult::NotRegular) {
        Fail(StoreProblem::NotRegularFile, 0, "not a regular file");
    } else if (!readWhole) {
        Fail(ProblemOfReading(error), error);
    }
    if (!readWhole) {
        lock.reset();
    }
    return readWhole;
}

bool HighScoreFile::ReplaceLastFirst(const std::string& path,
                                     const std::vector<std::string>& entries) {
    if (!readWhole) {
        Fail(StoreProblem::Other, 0, "the file was not read whole before the store");
    } else if (path != readPath) {
        Fail(StoreProblem::Other, 0, "read as " + readPath + ", stored as " + path);
    }
    const bool replaced = readWhole && path == readPath && WriteAndRename(entries);
    readWhole = false;
    lock.reset();
    return replaced;
}

void HighScoreFile::Fail(StoreProblem problem, int error, std::string reason) {
    if (!failure.Failed()) {
        failure = StoreFailure(problem, readPath, error, std::move(reason));
    }
}

bool HighScoreFile::WriteAndRename(const std::vector<std::string>& entries) {
    // A file made read-only by its owner is left alone, as writing it in place would leave it.
    if (existed && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        const int error = errno;
        Fail(error == EROFS ? StoreProblem::DiskReadOnly : StoreProblem::FileReadOnly, error);
        return false;
    }
    const std::string folder = FolderOf(target);
    const std::string base = BaseOf(target);
    if (lock != nullptr && lock->OnFolder()) {
        RemoveLeftovers(folder, base);
    }
    std::string temporary;
    Descriptor fd(CreateTemporary(folder, base, temporary));
    if (fd.Get() < 0) {
        const int error = errno;
        Fail(ProblemOfWriting(error), error,
             std::string("cannot create the new file beside it: ") + std::strerror(error));
        return false;
    }
    bool written = true;
    if (existed) {
        // The new file takes the old one's place, so it keeps its owner (where we may) and bits.
        if (fchown(fd.Get(), owner, group) != 0) {
            // Only root may hand a file to another owner; the file then becomes ours.
        }
        written = fchmod(fd.Get(), mode & 07777) == 0;
    }
    written = written && WriteLastFirst(fd.Get(), entries) && io->Sync(fd.Get()) == 0;
    if (!written) {
        Fail(ProblemOfWriting(errno), errno);
    }
    if (!fd.Close() && written) {
        Fail(ProblemOfWriting(errno), errno);
        written = false;
    }
    if (written && io->Rename(temporary.c_str(), target.c_str()) != 0) {
        Fail(ProblemOfWriting(errno), errno);
        written = false;
    }
    if (!written) {
        unlink(temporary.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool HighScoreFile::WriteLastFirst(int fd, const std::vector<std::string>& entries) {
    std::string chunk;
    chunk.reserve(kChunk);
    const auto flush = [&]() {
        std::size_t done = 0;
        while (done < chunk.size()) {
            const ssize_t wrote = io->Write(fd, chunk.data() + done, chunk.size() - done);
            if (wrote < 0 && errno == EINTR) {
                continue;
            }
            if (wrote <= 0) {
                if (wrote == 0) {
                    errno = EIO;  // a file that takes nothing more will not take the rest
                }
                return false;
            }
            done += static_cast<std::size_t>(wrote);
        }
        chunk.clear();
        return true;
    };
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        chunk += *entry;
        chunk += '\n';
        if (chunk.size() >= kChunk && !flush()) {
            return false;
        }
    }
    return flush();
}

void HighScoreFile::ReadFirstLines(const std::string& path, std::size_t maxLines,
                                   std::size_t maxBytes, std::vector<std::string>& entries) {
    if (maxLines == 0) {
        return;
    }
    std::string target;
    StoreFailure refused;
    if (!TrustedFile(path, target, refused)) {
        return;  // what a store would not touch, the list does not show either
    }
    struct stat facts {};
    ReadLines(target, {maxLines, maxBytes, kLongestListScan, false}, entries, facts);
}
