#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

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
    // Answers a GET (or HEAD): the file, or its .gz beside it when the client takes gzip.
    void Serve(const httplib::Request& request, httplib::Response& response) const;

  private:
    // The canonical path of a regular file inside the site; nothing for anything else.
    std::optional<std::string> Inside(const std::filesystem::path& path) const;

    std::string root;  // canonical, without a trailing slash; empty when there is no site
};

// The type a file is served as, by its extension.
const char* ContentTypeOf(const std::string& path);

}  // namespace server
