// The shared table in a build without the network (-DARCADE_NETWORK=OFF, and the browser's):
// there is none, and the player is told so once.
#include <cstdio>

#include "net/SharedTable.h"

namespace net {

std::unique_ptr<SharedTable> OpenSharedTable(const std::string& url) {
    std::fprintf(stderr,
                 "arcade-game: this build of the game has no network: the shared table at %s is "
                 "not used\n",
                 url.c_str());
    return nullptr;
}

}  // namespace net
