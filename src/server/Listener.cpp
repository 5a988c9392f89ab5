#include "server/Listener.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

namespace server {
namespace {

struct FreeAddresses {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

int BoundPort(int socket) {
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &size) != 0) {
        return -1;
    }
    return ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                             : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
}

}  // namespace

int Listen(const std::string& address, int& port, std::string& error) {
    error = "cannot listen on " + address + " port " + std::to_string(port);
    addrinfo wanted{};
    wanted.ai_family = AF_UNSPEC;
    wanted.ai_socktype = SOCK_STREAM;
    wanted.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.c_str(), std::to_string(port).c_str(), &wanted, &found) != 0) {
        return -1;
    }
    const std::unique_ptr<addrinfo, FreeAddresses> list(found);
    for (const addrinfo* at = found; at != nullptr; at = at->ai_next) {
        const int made = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
        if (made < 0) {
            continue;
        }
        // Reused at once after a restart, but never shared (no SO_REUSEPORT).
        const int yes = 1;
        setsockopt(made, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (bind(made, at->ai_addr, at->ai_addrlen) == 0 && listen(made, SOMAXCONN) == 0) {
            port = BoundPort(made);
            error.clear();
            return made;
        }
        close(made);
    }
    return -1;
}

}  // namespace server
