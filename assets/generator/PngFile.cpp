#include "PngFile.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {
constexpr int kCompressionLevel = 9;

// Kept apart from any C++ object with a destructor, because libpng reports errors by longjmp.
bool WriteRows(std::FILE* file, int width, int height, png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, kCompressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
}  // namespace

bool WritePng(const Canvas& canvas, const std::string& path) {
    std::vector<png_byte> bytes;
    bytes.reserve(canvas.Pixels().size() * 3);
    for (Rgb c : canvas.Pixels()) {
        bytes.push_back(c.r);
        bytes.push_back(c.g);
        bytes.push_back(c.b);
    }
    std::vector<png_bytep> rows;
    for (int y = 0; y < canvas.Height(); ++y) {
        rows.push_back(bytes.data() + static_cast<size_t>(y) * canvas.Width() * 3);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = WriteRows(file, canvas.Width(), canvas.Height(), rows.data());
    return std::fclose(file) == 0 && written;
}
