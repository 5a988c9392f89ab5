#include "scores/StoreFailure.h"

#include <errno.h>
#include <limits.h>
#include <unistd.h>

#include <cstring>

namespace {
const char* PlayerWords(StoreProblem problem) {
    switch (problem) {
        case StoreProblem::None:
            return "";
        case StoreProblem::FolderReadOnly:
            return "the folder is read-only";
        case StoreProblem::DiskReadOnly:
            return "the disk is read-only";
        case StoreProblem::DiskFull:
            return "the disk is full";
        case StoreProblem::DiskFailed:
            return "the disk failed";
        case StoreProblem::FileReadOnly:
            return "the file is read-only";
        case StoreProblem::FileUnreadable:
            return "the file cannot be read";
        case StoreProblem::NotRegularFile:
            return "it is not a regular file";
        case StoreProblem::TooLarge:
            return "the file is too large";
        case StoreProblem::RefusedLink:
            return "the file is a link not to follow";
        case StoreProblem::OutOfMemory:
            return "out of memory";
        case StoreProblem::Other:
            break;
    }
    return "the file could not be written";
}

// The path as the player would look for it: a bare name is taken from the working folder.
std::string FullPath(const std::string& path) {
    if (path.empty() || path[0] == '/') {
        return path;
    }
    char folder[PATH_MAX];
    if (getcwd(folder, sizeof folder) == nullptr) {
        return path;
    }
    return std::string(folder) + "/" + path;
}
}  // namespace

StoreFailure::StoreFailure(StoreProblem problem, std::string path, int error, std::string reason)
    : problem(problem),
      path(FullPath(path)),
      reason(reason.empty() ? std::strerror(error) : std::move(reason)) {}

std::string StoreFailure::Notice() const {
    return Failed() ? std::string("Score not saved: ") + PlayerWords(problem) : std::string();
}

std::string StoreFailure::LogLine() const {
    return Failed() ? "arcade-game: score not saved to " + path + ": " + reason : std::string();
}

StoreProblem ProblemOfWriting(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return StoreProblem::FolderReadOnly;
        case EROFS:
            return StoreProblem::DiskReadOnly;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return StoreProblem::DiskFull;
        case EIO:
            return StoreProblem::DiskFailed;
        case ENOMEM:
            return StoreProblem::OutOfMemory;
        default:
            return StoreProblem::Other;
    }
}

StoreProblem ProblemOfReading(int error) {
    switch (error) {
        case EIO:
            return StoreProblem::DiskFailed;
        case ENOMEM:
            return StoreProblem::OutOfMemory;
        case ELOOP:
            return StoreProblem::RefusedLink;
        default:
            return StoreProblem::FileUnreadable;
    }
}
