#include "PngFile.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {
constexpr int kCompressionLevel = 9;

// Kept apart from any C++ object with a destructor, because libpng reports errors by longjmp.
bool WriteRows(std::FILE* file, int width, int height, int colourType, png_bytepp rows) {
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
    png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Writes rows of 8-bit channels, three (RGB) or four (RGBA) to a pixel.
bool WriteBytes(std::vector<png_byte>& bytes, int width, int height, int channels,
                const std::string& path) {
    std::vector<png_bytep> rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back(bytes.data() + static_cast<size_t>(y) * width * channels);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const int colourType = channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    bool written = WriteRows(file, width, height, colourType, rows.data());
    return std::fclose(file) == 0 && written;
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
    return WriteBytes(bytes, canvas.Width(), canvas.Height(), 3, path);
}

bool WriteRgbaPng(const std::vector<Rgba>& pixels, int size, const std::string& path) {
    std::vector<png_byte> bytes;
    bytes.reserve(pixels.size() * 4);
    for (Rgba c : pixels) {
        bytes.push_back(c.r);
        bytes.push_back(c.g);
        bytes.push_back(c.b);
        bytes.push_back(c.a);
    }
    return WriteBytes(bytes, size, size, 4, path);
}
