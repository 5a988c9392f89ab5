#include "server/Router.h"

namespace server {
namespace {

bool PathMatches(const Route& route, const std::string& path) {
    return route.prefix ? path.compare(0, route.path.size(), route.path) == 0 : path == route.path;
}

}  // namespace

const Route* Router::Find(const std::string& method, const std::string& path,
                          bool& pathMatched) const {
    pathMatched = false;
    for (const Route& route : routes) {
        if (!PathMatches(route, path)) {
            continue;
        }
        pathMatched = true;
        if (route.method == method || (method == "HEAD" && route.method == "GET")) {
            return &route;
        }
    }
    return nullptr;
}

}  // namespace server
