#pragma once

#include <optional>
#include <string>

namespace net {

// The shared table the player named: an http or https address, such as
// "https://scores.example.org" or "http://127.0.0.1:8000/arcade". Its API lies below its path.
struct ServerUrl {
    std::string scheme;  // "http" or "https", in lower case
    std::string host;    // a name, an IPv4 address or a bracketed IPv6 one
    std::string port;    // digits, or empty for the scheme's own
    std::string path;    // where the table is served, without a closing "/": "" or "/arcade"

    // How the player is told which table: "scores.example.org", "127.0.0.1:8000".
    std::string Host() const;
    // The address of one of the table's requests: At("/api/scores").
    std::string At(const std::string& request) const;
};

// The address as the player wrote it, checked; nothing, with why, for anything else: another
// scheme, a user name or password in it, a query, a host or port that cannot be one.
std::optional<ServerUrl> ParseServerUrl(const std::string& text, std::string& why);

}  // namespace net
