#include "storage/DurableFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace storage {
namespace {
// A fresh file gets these bits less the umask, like any file a program creates.
constexpr mode_t kNewFileMode = 0666;
constexpr const char* kUniqueEnd = "XXXXXX";

// The bits a program's new file gets. Setting the mask back at once races with nothing: every
// file this game keeps is written from its one thread. Whatever the mask, the player may read
// and write back a file kept for them: the browser's file system reports a mask of 0777, which
// would otherwise leave every new replay unreadable to the game that wrote it.
mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return (kNewFileMode & ~mask) | S_IRUSR | S_IWUSR;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}
}  // namespace

std::string WriteFault::Reason() const {
    if (step == Step::Create) {
        return std::string("cannot create the new file beside it: ") + std::strerror(error);
    }
    return std::strerror(error);
}

DurableFile::DurableFile(std::string target) : target(std::move(target)), calls(defaultCalls) {}

DurableFile::DurableFile(std::string target, FileCalls& calls)
    : target(std::move(target)), calls(calls) {}

DurableFile::~DurableFile() {
    Discard();
}

std::string DurableFile::TemporaryPrefix(const std::string& base) {
    return "." + base + ".";
}

bool DurableFile::Fail(WriteFault::Step step, int error) {
    if (!fault.Failed()) {
        fault = {step, error};
    }
    Discard();
    return false;
}

void DurableFile::Discard() {
    if (fd >= 0) {
        calls.Close(fd);
        fd = -1;
    }
    if (!temporary.empty()) {
        unlink(temporary.c_str());
        temporary.clear();
    }
}

bool DurableFile::Open() {
    const std::filesystem::path path(target);
    std::string pattern =
        (FolderOf(path) / (TemporaryPrefix(path.filename().string()) + kUniqueEnd)).string();
    fd = calls.MakeTemporary(pattern.data());
    if (fd < 0) {
        return Fail(WriteFault::Step::Create, errno);
    }
    temporary = pattern;
    // The new file takes the old one's place, so it keeps its owner (where we may) and bits.
    struct stat old {};
    mode_t mode = NewFileMode();
    if (stat(target.c_str(), &old) == 0) {
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Only root may hand a file to another owner; the file then becomes ours.
        }
        mode = old.st_mode & 07777;
    }
    if (fchmod(fd, mode) != 0) {
        return Fail(WriteFault::Step::Mode, errno);
    }
    return true;
}

bool DurableFile::Write(const char* data, std::size_t size) {
    if (fd < 0) {
        return Fail(WriteFault::Step::Write, EBADF);
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = calls.Write(fd, data + done, size - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            // A file that takes nothing more will not take the rest.
            return Fail(WriteFault::Step::Write, wrote == 0 ? EIO : errno);
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

bool DurableFile::Commit() {
    if (fd < 0) {
        return Fail(WriteFault::Step::Write, EBADF);
    }
    if (calls.Sync(fd) != 0) {
        return Fail(WriteFault::Step::Sync, errno);
    }
    const int closing = fd;
    fd = -1;
    if (calls.Close(closing) != 0) {
        return Fail(WriteFault::Step::Close, errno);
    }
    if (calls.Rename(temporary.c_str(), target.c_str()) != 0) {
        return Fail(WriteFault::Step::Rename, errno);
    }
    temporary.clear();
    // The new file is in place and whole; should the folder not sync, a crash at worst brings
    // back the old file, as if we had not written, so there is no fault to tell.
    calls.SyncFolder(FolderOf(target).c_str());
    return true;
}

bool WriteWhole(const std::string& target, const std::string& bytes, FileCalls& calls,
                WriteFault& fault) {
    DurableFile file(target, calls);
    const bool written = file.Open() && file.Write(bytes.data(), bytes.size()) && file.Commit();
    fault = file.Fault();
    return written;
}

bool WriteWhole(const std::string& target, const std::string& bytes, WriteFault& fault) {
    FileCalls calls;
    return WriteWhole(target, bytes, calls, fault);
}

}  // namespace storage
