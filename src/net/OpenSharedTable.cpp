#include <cstdio>

#include "net/CurlSharedTable.h"
#include "net/NetRules.h"

namespace net {

std::unique_ptr<SharedTable> OpenSharedTable(const std::string& address) {
    std::string why;
    auto url = ParseServerUrl(address, why);
    if (!url) {
        std::fprintf(stderr, "arcade-game: %s is no shared table's address: %s\n", address.c_str(),
                     why.c_str());
        return nullptr;
    }
    return std::make_unique<CurlSharedTable>(std::move(*url), rules::kOutboxFolder);
}

}  // namespace net
