#include "server/Metrics.h"

#include <cstdio>
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
    // As the answer's maker told it, whatever status it chose to say it with.
    const Outcome& outcome = response.outcome;
    if (outcome.proven) {
        ++proven;
    } else {
        ++refused[outcome.refusal.empty() ? "other" : outcome.refusal];
    }
    if (const auto seconds = outcome.proofSeconds) {
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
