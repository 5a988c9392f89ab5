#pragma once

#include <chrono>
#include <cstddef>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace server {

// How many posts one address may make: an allowance of perMinute that refills evenly over a
// minute, so a burst is allowed once and a steady stream is held to the rate. A post is let in
// while a whole post is left; a long one may then be charged more (Charge). At most
// mostAddresses are remembered (some 150 bytes each): a newcomer to a full table takes the place
// of the address that posted least recently and owes nothing, so no crowd of addresses can shut
// others out, nor wipe out another's debt.
class RateLimit {
  public:
    using Clock = std::chrono::steady_clock;

    RateLimit(int perMinute, std::size_t mostAddresses);

    // Takes one post from the address's allowance. Nothing when it may post; otherwise the whole
    // seconds until it may post again.
    std::optional<int> Take(const std::string& address, Clock::time_point now = Clock::now());
    // Takes more posts from the address's allowance, which may fall below nothing: a post that
    // turns out to be long to prove pays for it after it was let in, and its address then waits
    // the longer before its next. An address no longer remembered owes nothing.
    void Charge(const std::string& address, double posts, Clock::time_point now = Clock::now());

  private:
    struct Allowance {
        std::string address;
        double posts = 0;
        Clock::time_point at;
    };
    using Recent = std::list<Allowance>;  // the latest to post first
    double Refilled(const Allowance& allowance, Clock::time_point now) const;
    void Forget(Clock::time_point now);

    double perMinute;
    std::size_t mostAddresses;
    std::mutex guard;
    Recent recent;
    std::unordered_map<std::string, Recent::iterator> byAddress;
};

}  // namespace server
