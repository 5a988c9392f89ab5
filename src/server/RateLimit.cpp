#include "server/RateLimit.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace server {
namespace {
constexpr double kSecondsPerMinute = 60;
}

RateLimit::RateLimit(int perMinute, std::size_t mostAddresses)
    : perMinute(perMinute), mostAddresses(std::max<std::size_t>(mostAddresses, 1)) {}

double RateLimit::Refilled(const Allowance& allowance, Clock::time_point now) const {
    const double seconds = std::chrono::duration<double>(now - allowance.at).count();
    return std::min(perMinute, allowance.posts + seconds * perMinute / kSecondsPerMinute);
}

std::optional<int> RateLimit::Take(const std::string& address, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(guard);
    auto found = byAddress.find(address);
    if (found == byAddress.end()) {
        if (byAddress.size() >= mostAddresses) {
            Forget(now);
        }
        recent.push_front({address, perMinute, now});
        found = byAddress.emplace(address, recent.begin()).first;
    } else {
        recent.splice(recent.begin(), recent, found->second);
    }
    Allowance& allowance = *found->second;
    allowance.posts = Refilled(allowance, now);
    allowance.at = now;
    if (allowance.posts < 1) {
        const double wait = (1 - allowance.posts) * kSecondsPerMinute / perMinute;
        return std::max(1, static_cast<int>(std::ceil(wait)));
    }
    allowance.posts -= 1;
    return std::nullopt;
}

// The address idle longest that owes nothing: forgetting it gives it at most a burst sooner,
// where forgetting a debt would let a long replay's cost be wiped out by a crowd of newcomers.
// Only a table of debtors alone loses its idlest debt.
void RateLimit::Forget(Clock::time_point now) {
    auto forgotten = std::prev(recent.end());
    for (auto at = recent.rbegin(); at != recent.rend(); ++at) {
        if (Refilled(*at, now) >= 0) {
            forgotten = std::prev(at.base());
            break;
        }
    }
    byAddress.erase(forgotten->address);
    recent.erase(forgotten);
}

void RateLimit::Charge(const std::string& address, double posts, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(guard);
    const auto found = byAddress.find(address);
    if (found == byAddress.end()) {
        return;
    }
    Allowance& allowance = *found->second;
    allowance.posts = Refilled(allowance, now) - posts;
    allowance.at = now;
}

}  // namespace server
