#include "gfx/MissingFile.h"

#include <cstdio>
#include <filesystem>
#include <set>

void ReportUnloadable(const std::string& file, const char* reason) {
    // Bullets and bombs load their picture at every shot, so one missing file would otherwise
    // print a line per shot. The record belongs to this function alone and lives as long as the
    // process: the loaders are free functions with no engine to hold it.
    static std::set<std::string> reported;
    if (!reported.insert(file).second) {
        return;
    }
    std::error_code unknown;
    const std::string folder = std::filesystem::current_path(unknown).string();
    std::fprintf(stderr, "arcade-game: cannot load %s from %s (%s); going on without it\n",
                 file.c_str(), unknown ? "the working folder" : folder.c_str(),
                 reason != nullptr ? reason : "unknown reason");
}
