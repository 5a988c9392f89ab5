#include "server/AddressList.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <sstream>

namespace server {

bool AddressList::Canonical(const std::string& text, std::string& canonical) {
    in_addr v4{};
    in6_addr v6{};
    char written[INET6_ADDRSTRLEN] = "";
    if (inet_pton(AF_INET, text.c_str(), &v4) == 1) {
        inet_ntop(AF_INET, &v4, written, sizeof written);
    } else if (inet_pton(AF_INET6, text.c_str(), &v6) == 1) {
        if (IN6_IS_ADDR_V4MAPPED(&v6)) {
            inet_ntop(AF_INET, &v6.s6_addr[12], written, sizeof written);
        } else {
            inet_ntop(AF_INET6, &v6, written, sizeof written);
        }
    } else {
        return false;
    }
    canonical = written;
    return true;
}

bool AddressList::Parse(const std::string& text, std::string& error) {
    std::vector<std::string> parsed;
    std::istringstream words(text);
    std::string word;
    while (std::getline(words, word, ',')) {
        if (word.empty()) {
            continue;
        }
        std::string canonical;
        if (!Canonical(word, canonical)) {
            error = "\"" + word + "\" is not an IPv4 or IPv6 address";
            return false;
        }
        parsed.push_back(canonical);
    }
    addresses = std::move(parsed);
    return true;
}

bool AddressList::Contains(const std::string& address) const {
    std::string canonical;
    return Canonical(address, canonical) &&
           std::find(addresses.begin(), addresses.end(), canonical) != addresses.end();
}

}  // namespace server
