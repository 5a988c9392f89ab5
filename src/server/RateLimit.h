#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace server {

// How many posts one address may make: an allowance of perMinute that refills evenly over a
// minute, so a burst is allowed once and a steady stream is held to the rate.
class RateLimit {
  public:
    using Clock = std::chrono::steady_clock;

    RateLimit(int perMinute, std::size_t mostAddresses);

    // Takes one post from the address's allowance. Nothing when it may post; otherwise the whole
    // seconds until it may post again.
    std::optional<int> Take(const std::string& address, Clock::time_point now = Clock::now());

  private:
    struct Allowance {
        double posts = 0;
        Clock::time_point at;
    };
    double Refilled(const Allowance& allowance, Clock::time_point now) const;
    void ForgetFull(Clock::time_point now);

    double perMinute;
    std::size_t mostAddresses;
    std::mutex guard;
    std::map<std::string, Allowance> allowances;
};

}  // namespace server
