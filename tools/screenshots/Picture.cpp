#include "Picture.h"

#include <cstdio>
#include <memory>

Picture::Picture() : pixels(facts::kWindowWidth * facts::kWindowHeight, 0) {}

bool Picture::SavePpm(const std::string& path) const {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    if (!file) {
        return false;
    }
    std::fprintf(file.get(), "P6\n%d %d\n255\n", facts::kWindowWidth, facts::kWindowHeight);
    std::vector<unsigned char> bytes;
    bytes.reserve(pixels.size() * 3);
    for (facts::Rgb colour : pixels) {
        bytes.push_back(static_cast<unsigned char>(colour >> 16));
        bytes.push_back(static_cast<unsigned char>(colour >> 8));
        bytes.push_back(static_cast<unsigned char>(colour));
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}
