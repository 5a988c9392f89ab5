#pragma once

#include <string>
#include <vector>

namespace server {

// Addresses a host names on the command line ("127.0.0.1,::1"), each compared as the address it
// is, whatever way it was written: an IPv4 address seen through an IPv6 socket is the IPv4 one.
class AddressList {
  public:
    // Comma-separated; empty for none. False, with error naming the first that is no address.
    bool Parse(const std::string& text, std::string& error);
    // A list written in the program itself, known to be good.
    static AddressList Of(const std::string& text) {
        AddressList list;
        std::string error;
        list.Parse(text, error);
        return list;
    }
    bool Contains(const std::string& address) const;
    bool Empty() const { return addresses.empty(); }

    // The address as PeerAddress writes it, so that addresses compare as text; false for text
    // that is no address.
    static bool Canonical(const std::string& text, std::string& canonical);

  private:
    std::vector<std::string> addresses;  // as PeerAddress writes them
};

}  // namespace server
