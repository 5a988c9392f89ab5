#include "server/Metrics.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "server/HttpMessage.h"

namespace server {
namespace {

// The route a path belongs to: a few names however many paths, so the figures stay small.
std::string RouteOf(const std::string& path) {
    for (const char* route : {"/api/scores", "/api/scores.json", "/healthz", "/metrics"}) {
        if (path == route) {
            return route;
        }
    }
    if (path.rfind("/api/replays/", 0) == 0) {
        return "/api/replays/ID";
    }
    return path.rfind("/api/", 0) == 0 ? "/api/other" : "site";
}

// Why a post was turned away, by the status it was answered with.
const char* RefusalOf(int status) {
    switch (status) {
        case 400:
            return "not_a_replay";
        case 413:
            return "too_large";
        case 415:
            return "wrong_type";
        case 422:
            return "not_proven";
        case 429:
            return "too_many_from_address";
        case 503:
            return "busy_or_not_stored";
        default:
            return "other";
    }
}

// The proof's milliseconds, which a post's answer gives in Server-Timing ("prove;dur=12.5").
std::optional<double> ProofSeconds(const HttpResponse& response) {
    for (const auto& [name, value] : response.headers) {
        if (name == "Server-Timing" && value.rfind("prove;dur=", 0) == 0) {
            return std::strtod(value.c_str() + 10, nullptr) / 1000;
        }
    }
    return std::nullopt;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

}  // namespace

void Metrics::Count(const HttpRequest& request, const HttpResponse& response) {
    const std::string route = RouteOf(request.path);
    const int status = response.status;
    const std::lock_guard<std::mutex> hold(lock);
    ++requests[{route, status}];
    if (route != "/api/scores" || request.method != "POST") {
        return;
    }
    // Stored, stored before, or the same game as a listed line: proven all three.
    if (status == 200 || status == 201 || status == 409) {
        ++proven;
    } else {
        ++refused[RefusalOf(status)];
    }
    if (const auto seconds = ProofSeconds(response)) {
        ++proofs;
        proofSeconds += *seconds;
        for (std::size_t i = 0; i < kProofBuckets.size(); ++i) {
            if (*seconds <= kProofBuckets[i]) {
                ++proofBuckets[i];
            }
        }
    }
}

std::string Metrics::Text(const Now& now) const {
    std::ostringstream text;
    const std::lock_guard<std::mutex> hold(lock);
    text << "# HELP arcade_scores_requests_total Requests answered, by route and status.\n"
            "# TYPE arcade_scores_requests_total counter\n";
    for (const auto& [key, count] : requests) {
        text << "arcade_scores_requests_total{route=\"" << key.first << "\",status=\"" << key.second
             << "\"} " << count << "\n";
    }
    text << "# HELP arcade_scores_posts_proven_total Posted games proven (stored, or listed "
            "already).\n"
            "# TYPE arcade_scores_posts_proven_total counter\n"
            "arcade_scores_posts_proven_total "
         << proven << "\n";
    text << "# HELP arcade_scores_posts_refused_total Posts turned away, by reason.\n"
            "# TYPE arcade_scores_posts_refused_total counter\n";
    for (const auto& [reason, count] : refused) {
        text << "arcade_scores_posts_refused_total{reason=\"" << reason << "\"} " << count << "\n";
    }
    text << "# HELP arcade_scores_proof_seconds Time from a post's proof asked to its verdict, "
            "waiting for a worker included.\n"
            "# TYPE arcade_scores_proof_seconds histogram\n";
    for (std::size_t i = 0; i < kProofBuckets.size(); ++i) {
        text << "arcade_scores_proof_seconds_bucket{le=\"" << Number(kProofBuckets[i]) << "\"} "
             << proofBuckets[i] << "\n";
    }
    text << "arcade_scores_proof_seconds_bucket{le=\"+Inf\"} " << proofs << "\n"
         << "arcade_scores_proof_seconds_sum " << Number(proofSeconds) << "\n"
         << "arcade_scores_proof_seconds_count " << proofs << "\n";
    text << "# HELP arcade_scores_proofs_waiting Posts proving or waiting for a worker.\n"
            "# TYPE arcade_scores_proofs_waiting gauge\n"
            "arcade_scores_proofs_waiting "
         << now.proofsWaiting << "\n"
         << "# HELP arcade_scores_connections_open Connections open now.\n"
            "# TYPE arcade_scores_connections_open gauge\n"
            "arcade_scores_connections_open "
         << now.connectionsOpen << "\n";
    if (now.tableRows) {
        text << "# HELP arcade_scores_table_rows Lines in the table.\n"
                "# TYPE arcade_scores_table_rows gauge\n"
                "arcade_scores_table_rows "
             << *now.tableRows << "\n";
    }
    return text.str();
}

}  // namespace server
