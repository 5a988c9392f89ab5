#include "server/StaticFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "server/ByteRange.h"
#include "server/Gzip.h"

namespace server {
namespace {
namespace fs = std::filesystem;

constexpr const char* kIndex = "index.html";
constexpr const char* kText = "text/plain; charset=utf-8";
// Files packed here rather than beforehand are the page's few small text files: no more of
// them, and none larger, are packed and kept.
constexpr std::uintmax_t kLargestPackedHere = 4 * 1024 * 1024;
constexpr std::size_t kMostPackedHere = 64;

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

bool AcceptsGzip(const HttpRequest& request) {
    // A client that refuses gzip says so with q=0; one that names it otherwise takes it.
    const std::string accepted = request.Header("Accept-Encoding");
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

bool IsText(const std::string& type) {
    return type.compare(0, 5, "text/") == 0 || type.find("json") != std::string::npos ||
           type.find("svg") != std::string::npos;
}

// The file opened to be sent as it is, whole.
std::unique_ptr<FileBody> Open(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return nullptr;
    }
    return std::make_unique<FileBody>(descriptor, 0, static_cast<std::uint64_t>(status.st_size));
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

void StaticFiles::Serve(const HttpRequest& request, HttpResponse& response) {
    const std::optional<std::string> file = Resolve(request.path);
    if (!file) {
        response.status = 404;
        response.SetContent("no such file here\n", kText);
        return;
    }
    response.SetHeader("Vary", "Accept-Encoding");
    response.SetHeader("Cache-Control", "no-cache");
    response.SetHeader("Accept-Ranges", "bytes");
    // The browser asks again each time (no-cache); a file it holds already is not sent again.
    // Weak, as one tag stands for the file packed or not.
    const std::string tag = TagOf(*file);
    if (!tag.empty()) {
        response.SetHeader("ETag", tag);
        if (request.Header("If-None-Match").find(tag) != std::string::npos) {
            response.status = 304;
            return;
        }
    }
    const char* type = ContentTypeOf(*file);
    const std::string range = request.Header("Range");
    // A range is of the file as it is: a packed answer is always whole.
    if (range.empty() && AcceptsGzip(request)) {
        const std::optional<std::string> packedFile = Inside(*file + ".gz");
        if (packedFile && PackedSince(*packedFile, *file)) {
            if (auto body = Open(*packedFile)) {
                response.file = std::move(body);
                response.SetHeader("Content-Type", type);
                response.SetHeader("Content-Encoding", "gzip");
                return;
            }
        }
        if (IsText(type)) {
            if (auto bytes = Packed(*file, tag)) {
                response.shared = std::move(bytes);
                response.SetHeader("Content-Type", type);
                response.SetHeader("Content-Encoding", "gzip");
                return;
            }
        }
    }
    std::unique_ptr<FileBody> body = Open(*file);
    if (!body) {
        response.status = 404;
        response.SetContent("the file cannot be read\n", kText);
        return;
    }
    const std::uint64_t size = body->Size();
    const ByteRange part = RangeOf(range, size);
    if (part.kind == ByteRange::kUnsatisfiable) {
        response.status = 416;
        response.SetContent("no such range of this file\n", kText);
        response.SetHeader("Content-Range", "bytes */" + std::to_string(size));
        return;
    }
    if (part.kind == ByteRange::kPart) {
        response.status = 206;
        response.SetHeader("Content-Range", "bytes " + std::to_string(part.offset) + "-" +
                                                std::to_string(part.offset + part.length - 1) +
                                                "/" + std::to_string(size));
        body = std::make_unique<FileBody>(body->Release(), part.offset, part.length);
    }
    response.file = std::move(body);
    response.SetHeader("Content-Type", type);
}

std::shared_ptr<const std::string> StaticFiles::Packed(const std::string& file,
                                                       const std::string& tag) {
    std::lock_guard<std::mutex> lock(packing);
    const auto found = packed.find(file);
    if (found != packed.end() && found->second.first == tag) {
        return found->second.second;
    }
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error || size > kLargestPackedHere ||
        (found == packed.end() && packed.size() >= kMostPackedHere)) {
        return nullptr;
    }
    const std::optional<std::string> content = ReadAll(file);
    std::optional<std::string> bytes;
    if (!content || !(bytes = Gzip(*content))) {
        return nullptr;
    }
    auto kept = std::make_shared<const std::string>(std::move(*bytes));
    packed[file] = {tag, kept};
    return kept;
}

}  // namespace server
