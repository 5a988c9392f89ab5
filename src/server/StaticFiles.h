#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "server/HttpMessage.h"

namespace server {

// The browser build's files, from one folder and nothing outside it: no "..", and no symbolic
// link whose target lies elsewhere.
class StaticFiles {
  public:
    // site is the folder; empty serves nothing.
    explicit StaticFiles(const std::string& site);

    // The file a request path names, as a canonical path inside the site; nothing for a path
    // that leaves the site, or names no regular file. A folder means its index.html.
    std::optional<std::string> Resolve(const std::string& urlPath) const;
    // Answers a GET (or HEAD): the file, or one range of it, or packed with gzip for a client
    // that takes it (its .gz beside it, or packed here once).
    void Serve(const HttpRequest& request, HttpResponse& response);

  private:
    // The canonical path of a regular file inside the site; nothing for anything else.
    std::optional<std::string> Inside(const std::filesystem::path& path) const;
    // The file's text packed, kept for the next client while the file stays the same.
    std::shared_ptr<const std::string> Packed(const std::string& file, const std::string& tag);

    std::string root;  // canonical, without a trailing slash; empty when there is no site
    std::mutex packing;
    std::map<std::string, std::pair<std::string, std::shared_ptr<const std::string>>> packed;
};

// The type a file is served as, by its extension.
const char* ContentTypeOf(const std::string& path);

}  // namespace server
