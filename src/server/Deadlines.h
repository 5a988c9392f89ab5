#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

namespace server {

// What each open connection owes the door, and by when: a whole header from its opening and
// after each answer, a whole body from its header; nothing while its answer is made or sent.
// Also which connections sit idle between requests, and since when, so that a full door can
// close the idlest first. Time is handed in, never read here: a test turns its own clock.
class Deadlines {
  public:
    using Clock = std::chrono::steady_clock;
    using Time = Clock::time_point;

    explicit Deadlines(Clock::duration requestTime) : requestTime(requestTime) {}

    // Opened, or an answer sent whole on a kept connection: idle, and owing a header in time.
    void Opened(int socket, Time now) { Await(visits[socket], now); }
    void Finished(int socket, Time now);
    // A whole header is in: the body, if any, has its own time from now.
    void HeaderIn(int socket, Time now);
    // The client owes nothing: its answer is being made, or is queued to be sent at the
    // client's own pace (bounded by silence alone).
    void Owes(int socket) { Clear(socket); }
    void Answered(int socket) { Clear(socket); }
    void Closed(int socket) { visits.erase(socket); }

    // The connections past their time, each told once.
    std::vector<int> Overdue(Time now);
    // Up to count idle connections, the longest idle first.
    std::vector<int> Idlest(std::size_t count) const;
    std::size_t Open() const { return visits.size(); }

  private:
    struct Visit {
        std::optional<Time> deadline;
        std::optional<Time> idleSince;  // between requests
    };
    void Await(Visit& visit, Time now);
    void Clear(int socket);

    Clock::duration requestTime;
    std::unordered_map<int, Visit> visits;  // by socket
};

}  // namespace server
