#pragma once

#include <string>

namespace server {

// A listening TCP socket on address and port (0: any free port), with a long queue for a
// crowd arriving at once. A port another server already listens on is refused, never shared.
// The socket, or -1 with error set; port becomes the one bound.
int Listen(const std::string& address, int& port, std::string& error);

}  // namespace server
