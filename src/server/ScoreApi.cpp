#include "server/ScoreApi.h"

#include <httplib.h>

#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "server/Digest.h"
#include "server/PostCheck.h"
#include "server/ProvingGate.h"
#include "server/RateLimit.h"
#include "server/ScoreStore.h"
#include "server/ScoreTable.h"
#include "server/ServerLimits.h"
#include "server/StaticFiles.h"

namespace server {
namespace {

constexpr const char* kText = "text/plain; charset=utf-8";
constexpr const char* kReplayType = "application/octet-stream";
// The page loads its own scripts, styles and pictures, compiles its WebAssembly, and makes its
// pictures and sounds into blob: and data: URLs; nothing else may run or be framed.
constexpr const char* kContentPolicy =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; "
    "img-src 'self' blob: data:; media-src 'self' blob: data:; connect-src 'self'; "
    "object-src 'none'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

enum Status {
    kOk = 200,
    kCreated = 201,
    kBadRequest = 400,
    kNotFound = 404,
    kTooLarge = 413,
    kWrongType = 415,
    kUnprovable = 422,
    kTooMany = 429,
    kFailed = 500,
    kUnavailable = 503,
};

void Refuse(httplib::Response& response, int status, const std::string& reason) {
    response.status = status;
    response.set_content(reason + "\n", kText);
}

void RefuseForNow(httplib::Response& response, int status, const std::string& reason, int seconds) {
    response.set_header("Retry-After", std::to_string(seconds));
    Refuse(response, status, reason);
}

std::string MediaType(const std::string& contentType) {
    std::string type = contentType.substr(0, contentType.find(';'));
    while (!type.empty() && type.back() == ' ') {
        type.pop_back();
    }
    for (char& c : type) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return type;
}

// A replay's id as the page links it: digits only, no sign, no leading zero.
std::optional<std::int64_t> IdOf(const std::string& text) {
    constexpr std::size_t kMostDigits = 18;  // below the largest 64-bit id
    if (text.empty() || text.size() > kMostDigits || text[0] == '0' ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoll(text);
}

}  // namespace

void ScoreApi::Install(httplib::Server& http) {
    http.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                              {"Content-Security-Policy", kContentPolicy},
                              {"Referrer-Policy", "no-referrer"}});

    // Every refusal httplib makes itself still says why, in one line.
    http.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty()) {
            return;
        }
        const char* reason = response.status == kNotFound   ? "no such thing here"
                             : response.status == kTooLarge ? "the request is too large"
                                                            : "the request cannot be answered";
        response.set_content(std::string(reason) + "\n", kText);
    });
    http.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr failure) {
            std::string what = "unknown";
            try {
                std::rethrow_exception(failure);
            } catch (const std::exception& caught) {
                what = caught.what();
            } catch (...) {
            }
            std::fprintf(stderr, "arcade-scores: a request failed: %s\n", what.c_str());
            Refuse(response, kFailed, "the server failed to answer this request");
        });

    auto table = [this](httplib::Response& response, bool json) -> bool {
        std::string error;
        const auto scores = store.Best(limits::kMostListed, error);
        if (!scores) {
            std::fprintf(stderr, "arcade-scores: %s\n", error.c_str());
            RefuseForNow(response, kUnavailable, "the table cannot be read just now",
                         limits::kRetrySeconds);
            return false;
        }
        const auto listed = Ranked(*scores, limits::kMostListed);
        response.set_header("Cache-Control", "no-store");
        if (json) {
            response.set_content(AsJson(listed), "application/json");
        } else {
            response.set_content(AsLines(listed), kText);
        }
        return true;
    };

    http.Get("/api/scores", [table](const httplib::Request&, httplib::Response& response) {
        table(response, false);
    });
    http.Get("/api/scores.json", [table](const httplib::Request&, httplib::Response& response) {
        table(response, true);
    });

    http.Post("/api/scores", [this, table](const httplib::Request& request,
                                           httplib::Response& response,
                                           const httplib::ContentReader& read) {
        // The body is read before any answer (the largest a replay may be, and no more), so
        // that none of it is left on the connection to be taken for the next request.
        std::string body;
        bool tooMuch = false;
        const bool whole = read([&](const char* data, std::size_t size) {
            tooMuch = body.size() + size > limits::kLargestPost;
            if (!tooMuch) {
                body.append(data, size);
            }
            return !tooMuch;
        });
        // Beyond the limit httplib reads none of it, and ends the connection after the answer.
        tooMuch = tooMuch ||
                  request.get_header_value<std::uint64_t>("Content-Length") > limits::kLargestPost;
        if (MediaType(request.get_header_value("Content-Type")) != kReplayType) {
            Refuse(response, kWrongType,
                   std::string("a score is posted as its replay, of type ") + kReplayType);
            return;
        }
        if (tooMuch) {
            Refuse(response, kTooLarge,
                   "larger than any game's replay (at most " +
                       std::to_string(limits::kLargestPost) + " bytes)");
            return;
        }
        if (const auto wait = limit.Take(request.remote_addr)) {
            RefuseForNow(response, kTooMany, "too many scores from this address; try again later",
                         *wait);
            return;
        }
        if (!whole) {
            Refuse(response, kBadRequest, "the replay did not arrive whole");
            return;
        }

        replay::Replay game;
        Refusal refusal;
        if (!CheckPosted(body, game, refusal)) {
            Refuse(response, refusal.status, refusal.reason);
            return;
        }
        const auto proving = std::chrono::steady_clock::now();
        const auto verdict = gate.Prove(game);
        // How long the proof took, its wait for others' included: what a host watches to
        // see whether one server still keeps up with its players.
        const std::chrono::duration<double, std::milli> proved =
            std::chrono::steady_clock::now() - proving;
        response.set_header("Server-Timing", "prove;dur=" + std::to_string(proved.count()));
        if (!verdict) {
            RefuseForNow(response, kUnavailable, "busy proving other games; try again shortly",
                         limits::kRetrySeconds);
            return;
        }
        if (!verdict->proven) {
            Refuse(response, kUnprovable, "not proven: " + verdict->why);
            return;
        }
        std::string error;
        const auto added =
            store.Add(static_cast<int>(game.points), game.name, body, Sha256Hex(body), error);
        if (!added) {
            std::fprintf(stderr, "arcade-scores: %s\n", error.c_str());
            RefuseForNow(response, kUnavailable, "the score could not be stored; try again",
                         limits::kRetrySeconds);
            return;
        }
        if (table(response, false)) {
            response.status = added->fresh ? kCreated : kOk;
        }
    });

    http.Get(R"(/api/replays/([^/]*))",
             [this](const httplib::Request& request, httplib::Response& response) {
                 const auto id = IdOf(request.matches[1]);
                 if (!id) {
                     Refuse(response, kBadRequest, "a replay's id is a whole number above 0");
                     return;
                 }
                 std::string error;
                 const auto bytes = store.Replay(*id, error);
                 if (!bytes && !error.empty()) {
                     std::fprintf(stderr, "arcade-scores: %s\n", error.c_str());
                     RefuseForNow(response, kUnavailable, "the replay cannot be read just now",
                                  limits::kRetrySeconds);
                     return;
                 }
                 if (!bytes) {
                     Refuse(response, kNotFound, "no replay " + std::to_string(*id) + " here");
                     return;
                 }
                 response.set_header("Content-Disposition",
                                     "attachment; filename=\"" + std::to_string(*id) + ".replay\"");
                 response.set_content(*bytes, kReplayType);
             });

    http.Get(R"(/api(/.*)?)", [](const httplib::Request&, httplib::Response& response) {
        Refuse(response, kNotFound, "no such thing in the score API");
    });
    http.Get(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response) {
        site.Serve(request, response);
    });
}

}  // namespace server
