#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

// An empty working folder for the length of a fuzzing run, removed when the run ends. In memory
// where the system offers it, since every store syncs the file and the folder to the disk.
inline std::string EnterFuzzFolder(const char* name) {
    namespace fs = std::filesystem;
    // The fuzzing engine ends the process through exit(): only a handler registered there can
    // clear up, and it can take no argument.
    static std::string folder;
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    folder = (base / (std::string(name) + "-XXXXXX")).string();
    if (mkdtemp(folder.data()) == nullptr || chdir(folder.c_str()) != 0) {
        abort();
    }
    atexit([] {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    });
    return folder;
}
