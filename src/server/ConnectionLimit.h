#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>

#include "server/AddressList.h"

namespace server {

// Connections open at once from one client: an IPv4 address, or an IPv6 /64 (what one host is
// given whole, as the post limit counts it). A trusted proxy is every player's peer, so its own
// connections are never counted: it names each player, and keeps their limits itself.
class ConnectionLimit {
  public:
    ConnectionLimit(int perClient, AddressList exempt)
        : perClient(static_cast<std::size_t>(perClient)), exempt(std::move(exempt)) {}

    // Room for one more connection from this peer.
    bool Admits(const std::string& peer) const;
    void Opened(const std::string& peer);
    void Closed(const std::string& peer);

  private:
    // The client a peer's connections count against; empty for one never counted.
    std::string KeyOf(const std::string& peer) const;

    std::size_t perClient;
    AddressList exempt;
    std::unordered_map<std::string, std::size_t> open;  // by client
};

}  // namespace server
