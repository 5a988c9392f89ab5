#pragma once

#include <string>
#include <utility>

#include "server/AddressList.h"

namespace server {

struct HttpRequest;

// A proxy in front of the server (nginx, say) is every player's peer; it names the player in
// X-Forwarded-For. That header is believed only from the proxies the host names: anyone else
// could write any address there and post as a new player each time.
class TrustedProxy {
  public:
    // An empty list trusts none.
    explicit TrustedProxy(AddressList proxies) : proxies(std::move(proxies)) {}

    // The player's address: the last one the header gives (the one the proxy itself saw) when
    // the peer is a trusted proxy and that is an address; the peer's otherwise.
    std::string ClientOf(const HttpRequest& request) const;

  private:
    AddressList proxies;
};

}  // namespace server
