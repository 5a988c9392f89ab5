#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// Runs benchmarks inside a scratch folder that holds the pictures and the font, as the game's
// play folder does, with SDL drawing into memory.
class BenchFolder {
  public:
    BenchFolder() {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "arcade-bench-XXXXXX").string();
        path = mkdtemp(pattern.data()) != nullptr ? pattern : fs::temp_directory_path().string();
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(ARCADE_ASSET_DIR, ignored)) {
            fs::create_symlink(entry.path(), fs::path(path) / entry.path().filename(), ignored);
        }
        fs::create_symlink(ARCADE_FONT_FILE, fs::path(path) / "arial.ttf", ignored);
        previous = fs::current_path();
        fs::current_path(path);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    const std::string& Path() const { return path; }

  private:
    std::string path;
    std::filesystem::path previous;
};
