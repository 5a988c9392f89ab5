#include "scores/TrustedFile.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace {
// As many links as anyone keeps between a name and its file; a longer chain is a loop.
constexpr int kMostLinks = 8;

bool ReadLink(const std::string& link, std::string& destination) {
    std::vector<char> text(PATH_MAX);
    const ssize_t length = readlink(link.c_str(), text.data(), text.size());
    if (length < 0 || static_cast<std::size_t>(length) >= text.size()) {
        return false;
    }
    // A relative link leads from the folder the link lies in.
    destination = std::filesystem::path(link)
                      .replace_filename(std::string(text.data(), static_cast<std::size_t>(length)))
                      .string();
    return true;
}

bool Refuse(const std::string& path, const std::string& why, StoreFailure& failure,
            StoreProblem problem = StoreProblem::RefusedLink) {
    failure = StoreFailure(problem, path, 0, why);
    return false;
}
}  // namespace

bool TrustedFile(const std::string& path, std::string& target, StoreFailure& failure) {
    const uid_t me = geteuid();
    std::string current = path;
    for (int hop = 0; hop <= kMostLinks; ++hop) {
        struct stat facts;
        if (lstat(current.c_str(), &facts) != 0) {
            if (hop == 0) {
                target = path;  // missing: the first store creates it; other faults show later
                return true;
            }
            return Refuse(path,
                          "symbolic link to " + current + ", which cannot be reached (" +
                              std::strerror(errno) + ")",
                          failure);
        }
        if (!S_ISLNK(facts.st_mode)) {
            if (hop == 0) {
                target = path;
                return true;
            }
            if (!S_ISREG(facts.st_mode)) {
                return Refuse(path, "symbolic link to " + current + ", which is not a regular file",
                              failure, StoreProblem::NotRegularFile);
            }
            if (facts.st_uid != me) {
                return Refuse(path,
                              "symbolic link to " + current + ", which belongs to user " +
                                  std::to_string(facts.st_uid) + ", not to user " +
                                  std::to_string(me),
                              failure);
            }
            char resolved[PATH_MAX];
            if (realpath(current.c_str(), resolved) == nullptr) {
                return Refuse(path, "symbolic link to " + current + ": " + std::strerror(errno),
                              failure);
            }
            target = resolved;
            return true;
        }
        if (facts.st_uid != me) {
            return Refuse(path,
                          "symbolic link " + current + " belongs to user " +
                              std::to_string(facts.st_uid) + ", not to user " + std::to_string(me),
                          failure);
        }
        std::string next;
        if (!ReadLink(current, next)) {
            return Refuse(path, "symbolic link " + current + " cannot be read", failure);
        }
        current = next;
    }
    return Refuse(path, "more than " + std::to_string(kMostLinks) + " symbolic links in a row",
                  failure);
}
