#pragma once

#include <string>

struct sockaddr;

namespace server {

struct HttpRequest;

// The address of a socket's other end as text ("192.0.2.7", "2001:db8::1"); an IPv4 address
// seen through an IPv6 socket reads as IPv4.
std::string PeerAddress(const sockaddr* address);

// The address a request comes from, as every limit and record of the server counts it.
std::string ClientAddress(const HttpRequest& request);

// What the post limit counts: an IPv4 address as it is, an IPv6 one by its /64, which one host
// is given whole.
std::string RateKey(const std::string& address);

}  // namespace server
