#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace server {

struct HttpRequest;
struct HttpResponse;

// The server's figures since it started, for GET /metrics in Prometheus's text format: requests
// by route and status, posts proven and refused by reason, and how long proofs took. Counted from
// every answer, on whatever thread answers; read on another.
class Metrics {
  public:
    // What /metrics shows beside the counts, as it stands when asked.
    struct Now {
        std::size_t proofsWaiting = 0;  // proving or waiting for a worker
        std::size_t connectionsOpen = 0;
        std::optional<std::size_t> tableRows;  // nothing when the table does not answer
    };

    void Count(const HttpRequest& request, const HttpResponse& response);
    std::string Text(const Now& now) const;

    // Upper bounds of the proof time's buckets, in seconds: a short game proves in milliseconds,
    // a whole one in tens of them, and seconds mean posts wait for each other.
    static constexpr std::array<double, 10> kProofBuckets = {0.005, 0.01, 0.025, 0.05, 0.1,
                                                             0.25,  0.5,  1,     2.5,  10};

  private:
    mutable std::mutex lock;
    std::map<std::pair<std::string, int>, std::uint64_t> requests;  // by route and status
    std::uint64_t proven = 0;
    std::map<std::string, std::uint64_t> refused;  // by reason
    std::array<std::uint64_t, kProofBuckets.size()> proofBuckets{};
    std::uint64_t proofs = 0;
    double proofSeconds = 0;
};

}  // namespace server
