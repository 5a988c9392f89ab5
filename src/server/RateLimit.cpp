#include "server/RateLimit.h"

#include <algorithm>
#include <cmath>

namespace server {
namespace {
constexpr double kSecondsPerMinute = 60;
}

RateLimit::RateLimit(int perMinute, std::size_t mostAddresses)
    : perMinute(perMinute), mostAddresses(mostAddresses) {}

double RateLimit::Refilled(const Allowance& allowance, Clock::time_point now) const {
    const double seconds = std::chrono::duration<double>(now - allowance.at).count();
    return std::min(perMinute, allowance.posts + seconds * perMinute / kSecondsPerMinute);
}

// An address with its whole allowance back is no different from one never seen.
void RateLimit::ForgetFull(Clock::time_point now) {
    for (auto it = allowances.begin(); it != allowances.end();) {
        it = Refilled(it->second, now) >= perMinute ? allowances.erase(it) : std::next(it);
    }
}

std::optional<int> RateLimit::Take(const std::string& address, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(guard);
    auto found = allowances.find(address);
    if (found == allowances.end()) {
        if (allowances.size() >= mostAddresses) {
            ForgetFull(now);
        }
        // Still full of addresses that are all posting: the newcomer shares the fate of a busy
        // server rather than growing the map without end.
        if (allowances.size() >= mostAddresses) {
            return static_cast<int>(std::ceil(kSecondsPerMinute / perMinute));
        }
        found = allowances.emplace(address, Allowance{perMinute, now}).first;
    }
    Allowance& allowance = found->second;
    allowance.posts = Refilled(allowance, now);
    allowance.at = now;
    if (allowance.posts < 1) {
        const double wait = (1 - allowance.posts) * kSecondsPerMinute / perMinute;
        return std::max(1, static_cast<int>(std::ceil(wait)));
    }
    allowance.posts -= 1;
    return std::nullopt;
}

}  // namespace server
