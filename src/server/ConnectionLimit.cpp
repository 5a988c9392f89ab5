#include "server/ConnectionLimit.h"

#include "server/ClientAddress.h"

namespace server {

std::string ConnectionLimit::KeyOf(const std::string& peer) const {
    return exempt.Contains(peer) ? std::string() : RateKey(peer);
}

bool ConnectionLimit::Admits(const std::string& peer) const {
    const std::string key = KeyOf(peer);
    if (key.empty()) {
        return true;
    }
    const auto found = open.find(key);
    return found == open.end() || found->second < perClient;
}

void ConnectionLimit::Opened(const std::string& peer) {
    const std::string key = KeyOf(peer);
    if (!key.empty()) {
        ++open[key];
    }
}

void ConnectionLimit::Closed(const std::string& peer) {
    const auto found = open.find(KeyOf(peer));
    if (found != open.end() && --found->second == 0) {
        open.erase(found);
    }
}

}  // namespace server
