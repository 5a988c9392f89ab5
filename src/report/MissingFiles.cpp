#include "report/MissingFiles.h"

#include <cstdio>
#include <filesystem>

#include "report/DataFolder.h"

MissingFiles::MissingFiles(const DataFolder& folder) : folder(folder) {}

void MissingFiles::Report(const std::string& file, const char* reason) {
    if (!reported.insert(file).second) {
        return;
    }
    std::error_code unknown;
    std::string where = folder.Name();
    if (where.empty()) {
        where = std::filesystem::current_path(unknown).string();
    }
    std::fprintf(stderr, "arcade-game: cannot load %s from %s (%s); going on without it\n",
                 file.c_str(), unknown ? "the working folder" : where.c_str(),
                 reason != nullptr ? reason : "unknown reason");
}
