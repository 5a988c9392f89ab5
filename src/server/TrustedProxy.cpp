#include "server/TrustedProxy.h"

#include "server/HttpMessage.h"

namespace server {

std::string TrustedProxy::ClientOf(const HttpRequest& request) const {
    if (proxies.Empty() || !proxies.Contains(request.peer)) {
        return request.peer;
    }
    const std::string forwarded = request.Header("X-Forwarded-For");
    const auto comma = forwarded.rfind(',');
    std::string last = comma == std::string::npos ? forwarded : forwarded.substr(comma + 1);
    const auto first = last.find_first_not_of(" \t");
    const auto end = last.find_last_not_of(" \t");
    last = first == std::string::npos ? std::string() : last.substr(first, end - first + 1);
    std::string client;
    return AddressList::Canonical(last, client) ? client : request.peer;
}

}  // namespace server
