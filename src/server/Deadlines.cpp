#include "server/Deadlines.h"

#include <algorithm>
#include <utility>

namespace server {

void Deadlines::Await(Visit& visit, Time now) {
    visit.deadline = now + requestTime;
    visit.idleSince = now;
}

void Deadlines::Finished(int socket, Time now) {
    const auto found = visits.find(socket);
    if (found != visits.end()) {
        Await(found->second, now);
    }
}

void Deadlines::HeaderIn(int socket, Time now) {
    const auto found = visits.find(socket);
    if (found != visits.end()) {
        found->second.deadline = now + requestTime;
        found->second.idleSince.reset();
    }
}

void Deadlines::Clear(int socket) {
    const auto found = visits.find(socket);
    if (found != visits.end()) {
        found->second.deadline.reset();
        found->second.idleSince.reset();
    }
}

std::vector<int> Deadlines::Overdue(Time now) {
    std::vector<int> late;
    for (auto& [socket, visit] : visits) {
        if (visit.deadline && *visit.deadline <= now) {
            late.push_back(socket);
            visit.deadline.reset();
            visit.idleSince.reset();
        }
    }
    return late;
}

std::vector<int> Deadlines::Idlest(std::size_t count) const {
    std::vector<std::pair<Time, int>> idle;
    for (const auto& [socket, visit] : visits) {
        if (visit.idleSince) {
            idle.emplace_back(*visit.idleSince, socket);
        }
    }
    count = std::min(count, idle.size());
    std::partial_sort(idle.begin(), idle.begin() + static_cast<std::ptrdiff_t>(count), idle.end());
    std::vector<int> sockets;
    sockets.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        sockets.push_back(idle[i].second);
    }
    return sockets;
}

}  // namespace server
