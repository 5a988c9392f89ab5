#include "net/ServerUrl.h"

#include <cctype>
#include <cstdlib>

namespace net {
namespace {
// Far longer than any table's address; a line of garbage is no address.
constexpr std::size_t kLongestAddress = 1024;
constexpr std::size_t kLongestHost = 253;
constexpr long kHighestPort = 65535;
constexpr const char* kSchemes[] = {"http", "https"};

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool IsHostName(const std::string& host) {
    if (host.empty() || host.size() > kLongestHost || host.front() == '.' || host.front() == '-') {
        return false;
    }
    for (const char c : host) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '.' && c != '-') {
            return false;
        }
    }
    return true;
}

bool IsBracketedAddress(const std::string& host) {
    if (host.size() < 4 || host.front() != '[' || host.back() != ']') {
        return false;
    }
    for (std::size_t i = 1; i + 1 < host.size(); ++i) {
        const char c = host[i];
        if (std::isxdigit(static_cast<unsigned char>(c)) == 0 && c != ':' && c != '.') {
            return false;
        }
    }
    return true;
}

bool IsPort(const std::string& port) {
    if (port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const long number = std::strtol(port.c_str(), nullptr, 10);
    return number >= 1 && number <= kHighestPort;
}

// Printable, without spaces, and nothing that would make it more than a path.
bool IsPath(const std::string& path) {
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f || c == '?' || c == '#' || c == '\\') {
            return false;
        }
    }
    return true;
}

std::optional<ServerUrl> Refuse(std::string& why, const std::string& reason) {
    why = reason;
    return std::nullopt;
}
}  // namespace

std::string ServerUrl::Host() const {
    return port.empty() ? host : host + ":" + port;
}

std::string ServerUrl::At(const std::string& request) const {
    return scheme + "://" + Host() + path + request;
}

std::optional<ServerUrl> ParseServerUrl(const std::string& text, std::string& why) {
    if (text.size() > kLongestAddress) {
        return Refuse(why, "far too long for an address");
    }
    const auto colon = text.find("://");
    if (colon == std::string::npos) {
        return Refuse(why, "an address begins with http:// or https://");
    }
    ServerUrl url;
    url.scheme = Lower(text.substr(0, colon));
    if (url.scheme != kSchemes[0] && url.scheme != kSchemes[1]) {
        return Refuse(why, "only http:// and https:// addresses are taken");
    }
    const std::string rest = text.substr(colon + 3);
    const auto slash = rest.find('/');
    const std::string authority = rest.substr(0, slash);
    url.path = slash == std::string::npos ? std::string() : rest.substr(slash);
    if (authority.find('@') != std::string::npos) {
        return Refuse(why, "an address with a user name or password is not taken");
    }
    // A bracketed IPv6 address holds colons of its own: the port's comes after the bracket.
    const auto portColon = authority.find(
        ':', authority.empty() || authority.front() != '[' ? 0 : authority.find(']'));
    url.host = Lower(authority.substr(0, portColon));
    if (portColon != std::string::npos) {
        url.port = authority.substr(portColon + 1);
        if (!IsPort(url.port)) {
            return Refuse(why, "the port is a number from 1 to 65535");
        }
    }
    if (!IsHostName(url.host) && !IsBracketedAddress(url.host)) {
        return Refuse(why, "no host name or address after " + url.scheme + "://");
    }
    if (!IsPath(url.path)) {
        return Refuse(why, "an address without spaces, a query or a fragment");
    }
    while (!url.path.empty() && url.path.back() == '/') {
        url.path.pop_back();
    }
    return url;
}

}  // namespace net
