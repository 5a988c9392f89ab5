#include "net/Outbox.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "net/NetRules.h"
#include "storage/DurableFile.h"
#include "storage/RegularFile.h"

namespace net {
namespace {
namespace fs = std::filesystem;

// Names that sort as the games were stored: the time in milliseconds, and a number for games of
// the same millisecond.
std::string NameAt(long long milliseconds, int copy) {
    char name[64];
    std::snprintf(name, sizeof name, "%015lld-%03d%s", milliseconds, copy, rules::kOutboxExtension);
    return name;
}

bool IsWaitingName(const std::string& name) {
    const std::string extension = rules::kOutboxExtension;
    // A file that begins with a dot is one being written (storage::DurableFile).
    return !name.empty() && name.front() != '.' && name.size() > extension.size() &&
           name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}
}  // namespace

Outbox::Outbox(std::string folder) : folder(std::move(folder)) {}

bool Outbox::Put(const std::string& bytes, std::string& name, std::string& why) {
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
        why = std::strerror(errno);
        return false;
    }
    const long long now = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    constexpr int kMostCopies = 1000;
    for (int copy = 0; copy < kMostCopies; ++copy) {
        name = NameAt(now, copy);
        struct stat seen {};
        if (lstat(PathOf(name).c_str(), &seen) == 0) {
            continue;
        }
        storage::WriteFault fault;
        if (!storage::WriteWhole(PathOf(name), bytes, fault)) {
            why = fault.Reason();
            return false;
        }
        return true;
    }
    why = "too many games stored in the same moment";
    return false;
}

std::vector<std::string> Outbox::Waiting() const {
    std::vector<std::string> names;
    std::error_code unreadable;
    for (fs::directory_iterator entry(folder, unreadable), end; !unreadable && entry != end;
         entry.increment(unreadable)) {
        std::error_code unknown;
        const std::string name = entry->path().filename().string();
        if (IsWaitingName(name) &&
            entry->symlink_status(unknown).type() == fs::file_type::regular) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool Outbox::Read(const std::string& name, std::string& bytes, std::string& why) const {
    int error = 0;
    switch (storage::ReadRegularFile(PathOf(name), rules::kLargestReplay, bytes, error)) {
        case storage::ReadResult::Whole:
            return true;
        case storage::ReadResult::Missing:
            why = "gone from the outbox";
            return false;
        case storage::ReadResult::NotRegular:
            why = "not a regular file";
            return false;
        case storage::ReadResult::TooLarge:
            why = "larger than any replay";
            return false;
        case storage::ReadResult::Failed:
            why = std::strerror(error);
            return false;
    }
    return false;
}

void Outbox::Remove(const std::string& name) {
    unlink(PathOf(name).c_str());
}

}  // namespace net
