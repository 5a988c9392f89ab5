#include "scores/FileReplacer.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>

#include "scores/Descriptor.h"

namespace {
constexpr std::size_t kChunk = 64 * 1024;
// A fresh file gets these bits less the umask, like any file a program creates.
constexpr mode_t kNewFileMode = 0666;
// mkostemp(3) puts six of these in place of the X's.
constexpr const char* kUniqueEnd = "XXXXXX";
constexpr std::size_t kUniqueLength = 6;
constexpr char kUniqueCharacters[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

std::string TemporaryPrefix(const std::string& base) {
    return "." + base + ".";
}

bool IsTemporaryName(const std::string& name, const std::string& base) {
    const std::string prefix = TemporaryPrefix(base);
    if (name.size() != prefix.size() + kUniqueLength ||
        name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (std::strchr(kUniqueCharacters, name[i]) == nullptr || name[i] == '\0') {
            return false;
        }
    }
    return true;
}

// A game killed while writing leaves its temporary file behind. Every writer holds the folder
// lock while its temporary file exists, so under that lock any such file is a leftover.
void RemoveLeftovers(const std::filesystem::path& folder, const std::string& base) {
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

// The bits a program's new file gets. Setting the mask back at once races with nothing: the
// game runs on one thread.
mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return kNewFileMode & ~mask;
}

void SyncFolder(const std::filesystem::path& folder) {
    const Descriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) {
        fsync(fd.Get());
    }
}
}  // namespace

std::filesystem::path FileReplacer::FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

void FileReplacer::Fail(StoreProblem problem, int error, std::string reason) {
    if (fault.problem == StoreProblem::None) {
        fault = {problem, error, std::move(reason)};
    }
}

bool FileReplacer::Replace(const std::filesystem::path& target, const struct stat* old,
                           bool clearLeftovers, const std::vector<std::string>& entries) {
    fault = Fault();
    // A file made read-only by its owner is left alone, as writing it in place would leave it.
    if (old != nullptr && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        const int error = errno;
        Fail(error == EROFS ? StoreProblem::DiskReadOnly : StoreProblem::FileReadOnly, error);
        return false;
    }
    const std::filesystem::path folder = FolderOf(target);
    const std::string base = target.filename().string();
    if (clearLeftovers) {
        RemoveLeftovers(folder, base);
    }
    std::string temporary = (folder / (TemporaryPrefix(base) + kUniqueEnd)).string();
    Descriptor fd(mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.Get() < 0) {
        const int error = errno;
        Fail(ProblemOfWriting(error), error,
             std::string("cannot create the new file beside it: ") + std::strerror(error));
        return false;
    }
    bool written = true;
    if (old != nullptr) {
        // The new file takes the old one's place, so it keeps its owner (where we may) and bits.
        if (fchown(fd.Get(), old->st_uid, old->st_gid) != 0) {
            // Only root may hand a file to another owner; the file then becomes ours.
        }
        written = fchmod(fd.Get(), old->st_mode & 07777) == 0;
    } else {
        written = fchmod(fd.Get(), NewFileMode()) == 0;
    }
    written = written && WriteLastFirst(fd.Get(), entries) && io.Sync(fd.Get()) == 0;
    if (!written) {
        Fail(ProblemOfWriting(errno), errno);
    }
    if (!fd.Close() && written) {
        Fail(ProblemOfWriting(errno), errno);
        written = false;
    }
    if (written && io.Rename(temporary.c_str(), target.c_str()) != 0) {
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

bool FileReplacer::WriteLastFirst(int fd, const std::vector<std::string>& entries) {
    std::string chunk;
    chunk.reserve(kChunk);
    const auto flush = [&]() {
        std::size_t done = 0;
        while (done < chunk.size()) {
            const ssize_t wrote = io.Write(fd, chunk.data() + done, chunk.size() - done);
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
