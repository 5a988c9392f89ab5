#include "server/StaticFiles.h"

#include <httplib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace server {
namespace {
namespace fs = std::filesystem;

constexpr const char* kIndex = "index.html";

struct Type {
    const char* extension;
    const char* type;
};
// Browsers compile WebAssembly while it downloads only when it comes with its own type.
constexpr Type kTypes[] = {
    {".html", "text/html; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".wasm", "application/wasm"},
    {".webmanifest", "application/manifest+json"},
    {".json", "application/json"},
    {".png", "image/png"},
    {".svg", "image/svg+xml"},
    {".ico", "image/x-icon"},
    {".ttf", "font/ttf"},
    {".woff2", "font/woff2"},
    {".wav", "audio/wav"},
    {".txt", "text/plain; charset=utf-8"},
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool AcceptsGzip(const httplib::Request& request) {
    // A client that refuses gzip says so with q=0; one that names it otherwise takes it.
    const std::string accepted = request.get_header_value("Accept-Encoding");
    return accepted.find("gzip") != std::string::npos &&
           accepted.find("gzip;q=0") == std::string::npos &&
           accepted.find("gzip; q=0") == std::string::npos;
}

std::optional<std::string> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    if (!in || !(content << in.rdbuf())) {
        // An empty file reads as a failed stream: it is still a file.
        if (in && in.peek() == std::ifstream::traits_type::eof()) {
            return std::string();
        }
        return std::nullopt;
    }
    return content.str();
}

// A packed copy older than its file was left by an earlier build, or the file was changed by
// hand since: what it holds is not the file any more.
bool PackedSince(const std::string& packed, const std::string& file) {
    std::error_code error;
    const auto packedTime = fs::last_write_time(packed, error);
    if (error) {
        return false;
    }
    const auto fileTime = fs::last_write_time(file, error);
    return !error && packedTime >= fileTime;
}

// A tag that changes whenever the file does: its size and when it was last written.
std::string TagOf(const std::string& file) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error) {
        return std::string();
    }
    const auto written = fs::last_write_time(file, error);
    if (error) {
        return std::string();
    }
    char tag[64];
    std::snprintf(tag, sizeof tag, "W/\"%llx-%llx\"", static_cast<unsigned long long>(size),
                  static_cast<unsigned long long>(written.time_since_epoch().count()));
    return tag;
}

}  // namespace

const char* ContentTypeOf(const std::string& path) {
    for (const Type& known : kTypes) {
        if (EndsWith(path, known.extension)) {
            return known.type;
        }
    }
    return "application/octet-stream";
}

StaticFiles::StaticFiles(const std::string& site) {
    std::error_code error;
    if (!site.empty()) {
        root = fs::canonical(site, error).string();
    }
}

std::optional<std::string> StaticFiles::Resolve(const std::string& urlPath) const {
    if (root.empty() || urlPath.empty() || urlPath[0] != '/' ||
        urlPath.find('\0') != std::string::npos || urlPath.find('\\') != std::string::npos) {
        return std::nullopt;
    }
    std::string relative = urlPath.substr(1);
    for (const auto& part : fs::path(relative)) {
        if (part == "..") {
            return std::nullopt;
        }
    }
    if (relative.empty() || relative.back() == '/') {
        relative += kIndex;
    }
    std::error_code error;
    const fs::path named = fs::path(root) / relative;
    return Inside(fs::is_directory(named, error) ? named / kIndex : named);
}

std::optional<std::string> StaticFiles::Inside(const fs::path& path) const {
    std::error_code error;
    const std::string file = fs::canonical(path, error).string();
    // Whatever links lie on the way, the file itself must be inside the site.
    if (error || file.compare(0, root.size() + 1, root + "/") != 0 ||
        !fs::is_regular_file(file, error)) {
        return std::nullopt;
    }
    return file;
}

void StaticFiles::Serve(const httplib::Request& request, httplib::Response& response) const {
    const std::optional<std::string> file = Resolve(request.path);
    if (!file) {
        response.status = 404;
        response.set_content("no such file here\n", "text/plain; charset=utf-8");
        return;
    }
    response.set_header("Vary", "Accept-Encoding");
    response.set_header("Cache-Control", "no-cache");
    // The browser asks again each time (no-cache); a file it holds already is not sent again.
    // Weak, as one tag stands for the file packed or not.
    const std::string tag = TagOf(*file);
    if (!tag.empty()) {
        response.set_header("ETag", tag);
        if (request.get_header_value("If-None-Match").find(tag) != std::string::npos) {
            response.status = 304;
            return;
        }
    }
    if (AcceptsGzip(request)) {
        const std::optional<std::string> packed = Inside(*file + ".gz");
        std::optional<std::string> content;
        if (packed && PackedSince(*packed, *file) && (content = ReadAll(*packed))) {
            // Given as a provider of known length, which httplib sends as it is: a file packed
            // already must not be packed again.
            response.set_header("Content-Encoding", "gzip");
            auto bytes = std::make_shared<std::string>(std::move(*content));
            response.set_content_provider(
                bytes->size(), ContentTypeOf(*file),
                [bytes](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                    return sink.write(bytes->data() + offset, length);
                });
            return;
        }
    }
    // httplib packs a text file itself for a client that takes it.
    std::optional<std::string> content = ReadAll(*file);
    if (!content) {
        response.status = 404;
        response.set_content("the file cannot be read\n", "text/plain; charset=utf-8");
        return;
    }
    response.set_content(std::move(*content), ContentTypeOf(*file));
}

}  // namespace server
