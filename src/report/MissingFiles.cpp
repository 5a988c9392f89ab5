#include "report/MissingFiles.h"

#include <cstdio>
#include <filesystem>

#include "report/DataFolder.h"

namespace {
// Not an owner: the record that came last and is still alive on this thread, or null. Games
// proven side by side on a server's threads each keep their own.
thread_local MissingFiles* live = nullptr;

void Say(const std::string& file, const char* reason) {
    std::error_code unknown;
    std::string folder = DataFolderName();
    if (folder.empty()) {
        folder = std::filesystem::current_path(unknown).string();
    }
    std::fprintf(stderr, "arcade-game: cannot load %s from %s (%s); going on without it\n",
                 file.c_str(), unknown ? "the working folder" : folder.c_str(),
                 reason != nullptr ? reason : "unknown reason");
}
}  // namespace

MissingFiles::MissingFiles() : replaced(live) {
    live = this;
}

MissingFiles::~MissingFiles() {
    // Records usually go in the reverse order of their making; one that goes early is taken out of
    // the chain so that no later record hands the reports back to it.
    MissingFiles** link = &live;
    while (*link != nullptr && *link != this) {
        link = &(*link)->replaced;
    }
    if (*link == this) {
        *link = replaced;
    }
}

void MissingFiles::Report(const std::string& file, const char* reason) {
    if (reported.insert(file).second) {
        Say(file, reason);
    }
}

void ReportUnloadable(const std::string& file, const char* reason) {
    if (live != nullptr) {
        live->Report(file, reason);
    } else {
        Say(file, reason);
    }
}
