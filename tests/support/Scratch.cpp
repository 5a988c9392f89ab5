#include "support/Scratch.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

ScratchDir::ScratchDir(bool withPictures) {
    std::string pattern = (fs::temp_directory_path() / "arcade-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch folder");
    }
    path = pattern;
    std::error_code noPictures;
    if (withPictures) {
        for (const auto& entry : fs::directory_iterator(ARCADE_ASSET_DIR, noPictures)) {
            if (entry.path().extension() == ".png") {
                fs::create_symlink(entry.path(), fs::path(path) / entry.path().filename());
            }
        }
    }
    fs::create_symlink(ARCADE_FONT_FILE, fs::path(path) / "arial.ttf");
    previous = fs::current_path().string();
    fs::current_path(path);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path, ignored);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteWholeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

bool FileExists(const std::string& path) {
    return fs::exists(fs::symlink_status(path));
}
