#include "server/ScoreApi.h"

#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "replay/Recorder.h"
#include "scores/ScoreLine.h"
#include "server/ClientAddress.h"
#include "server/Digest.h"
#include "server/PostCheck.h"
#include "server/ProvingGate.h"
#include "server/RateLimit.h"
#include "server/Router.h"
#include "server/ScoreStore.h"
#include "server/ScoreTable.h"
#include "server/ServerLimits.h"
#include "server/StaticFiles.h"

namespace server {
namespace {

constexpr const char* kText = "text/plain; charset=utf-8";
constexpr const char* kReplayType = "application/octet-stream";
constexpr const char* kReplays = "/api/replays/";
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
    kConflict = 409,
    kTooLarge = 413,
    kWrongType = 415,
    kUnprovable = 422,
    kTooMany = 429,
    kFailed = 500,
    kUnavailable = 503,
};

void Refuse(HttpResponse& response, int status, const std::string& reason) {
    response.status = status;
    response.SetContent(reason + "\n", kText);
}

void RefuseForNow(HttpResponse& response, int status, const std::string& reason, int seconds) {
    response.SetHeader("Retry-After", std::to_string(seconds));
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

// A table read this long ago is read again: another server on the same database may have stored
// a game meanwhile.
constexpr auto kTableFreshFor = std::chrono::seconds(1);

void NoSuchApi(const HttpRequest&, HttpResponse& response) {
    Refuse(response, kNotFound, "no such thing in the score API");
}

}  // namespace

void ScoreApi::Install(Router& router) {
    router.AddHeader("X-Content-Type-Options", "nosniff");
    router.AddHeader("Content-Security-Policy", kContentPolicy);
    router.AddHeader("Referrer-Policy", "no-referrer");
    // The version of the game this table proves with: a game recorded by another is refused, and
    // the desktop game tells its player which version the table runs.
    router.AddHeader("Game-Version", replay::GameVersion());
    const auto to = [this](void (ScoreApi::*answer)(const HttpRequest&, HttpResponse&)) {
        return [this, answer](const HttpRequest& request, HttpResponse& response) {
            (this->*answer)(request, response);
        };
    };
    // The table and the replays are read from a database that may be slow or away: on the
    // reading workers, unless the table was read a moment ago.
    for (const bool json : {false, true}) {
        Route read;
        read.method = "GET";
        read.path = json ? "/api/scores.json" : "/api/scores";
        read.quick = [this, json](const HttpRequest& request, HttpResponse& response) {
            return table.Quick(request, response, json);
        };
        read.answer = [this, json](const HttpRequest& request, HttpResponse& response) {
            table.Answer(request, response, json);
        };
        read.runs = Route::Runs::kReading;
        router.Add(std::move(read));
    }
    Route post;
    post.method = "POST";
    post.path = "/api/scores";
    post.later = [this](const HttpRequest& request, HttpResponse& response,
                        std::function<void()> done) { Post(request, response, std::move(done)); };
    post.admit = [this](const HttpRequest& request, HttpResponse& response) {
        return Admit(request, response);
    };
    post.runs = Route::Runs::kLater;
    router.Add(std::move(post));
    router.Add("GET", kReplays, true, to(&ScoreApi::Replay), Route::Runs::kReading);
    router.Add("GET", "/api", false, NoSuchApi);
    router.Add("GET", "/api/", true, NoSuchApi);
    // A file is opened (and a text one packed, the first time) off the thread that reads sockets.
    router.Add(
        "GET", "/", true,
        [this](const HttpRequest& request, HttpResponse& response) {
            site.Serve(request, response);
        },
        Route::Runs::kReading);
}

ScoreApi::ScoreApi(ScoreStore& store, ProvingGate& gate, RateLimit& limit, StaticFiles& site)
    : store(store), gate(gate), limit(limit), site(site), table(store, kTableFreshFor) {}

bool ScoreApi::Table(HttpResponse& response) {
    std::string error;
    const auto scores = store.Best(limits::kMostListed, error);
    if (!scores) {
        std::fprintf(stderr, "arcade-scores: %s\n", error.c_str());
        RefuseForNow(response, kUnavailable, "the table cannot be read just now",
                     limits::kRetrySeconds);
        return false;
    }
    const auto listed = Listed(*scores);
    response.SetHeader("Cache-Control", "no-store");
    response.SetContent(AsLines(listed), kText);
    return true;
}

bool ScoreApi::Admit(const HttpRequest& request, HttpResponse& response) {
    if (MediaType(request.Header("Content-Type")) != kReplayType) {
        Refuse(response, kWrongType,
               std::string("a score is posted as its replay, of type ") + kReplayType);
        response.outcome.refusal = "wrong_type";
        return false;
    }
    if (request.bodyTooLarge) {
        Refuse(response, kTooLarge,
               "larger than any game's replay (at most " + std::to_string(limits::kLargestPost) +
                   " bytes)");
        response.outcome.refusal = "too_large";
        return false;
    }
    if (const auto wait = limit.Take(RateKey(ClientAddress(request)))) {
        RefuseForNow(response, kTooMany, "too many scores from this address; try again later",
                     *wait);
        response.outcome.refusal = "too_many_from_address";
        return false;
    }
    return true;
}

void ScoreApi::Post(const HttpRequest& request, HttpResponse& response,
                    std::function<void()> done) {
    auto game = std::make_shared<replay::Replay>();
    Refusal refusal;
    if (!CheckPosted(request.body, *game, refusal)) {
        Refuse(response, refusal.status, refusal.reason);
        response.outcome.refusal = refusal.status == kBadRequest ? "not_a_replay" : "not_playable";
        done();
        return;
    }
    // Proving costs by the frame: a long replay pays for its length from the allowance.
    if (const int further = FurtherPostsCharged(game->frames.size())) {
        limit.Charge(RateKey(ClientAddress(request)), further);
    }
    const auto proving = std::chrono::steady_clock::now();
    // The gate's worker proves it, stores it and answers: no thread of the door waits meanwhile.
    const bool taken = gate.Submit(
        *game, [this, &request, &response, game, proving, done](const replay::Verdict& verdict) {
            // How long the proof took, its wait for others' included: what a host watches to see
            // whether one server still keeps up with its players.
            const std::chrono::duration<double> proved = std::chrono::steady_clock::now() - proving;
            try {
                Store(request, response, *game, verdict, proved.count());
            } catch (const std::exception& failure) {
                std::fprintf(stderr, "arcade-scores: a post failed: %s\n", failure.what());
                response = HttpResponse();
                RefuseForNow(response, kFailed, "the score could not be stored; try again",
                             limits::kRetrySeconds);
                response.outcome.refusal = "not_stored";
            }
            done();
        });
    if (!taken) {
        RefuseForNow(response, kUnavailable, "busy proving other games; try again shortly",
                     limits::kRetrySeconds);
        response.outcome.refusal = "busy";
        done();
    }
}

void ScoreApi::Store(const HttpRequest& request, HttpResponse& response, const replay::Replay& game,
                     const replay::Verdict& verdict, double proofSeconds) {
    response.outcome.proofSeconds = proofSeconds;
    response.SetHeader("Server-Timing", "prove;dur=" + std::to_string(proofSeconds * 1000));
    if (!verdict.proven) {
        Refuse(response, kUnprovable, "not proven: " + verdict.why);
        response.outcome.refusal = "not_proven";
        return;
    }
    Posted post;
    post.points = static_cast<int>(game.points);
    post.name = game.name;
    post.replay = request.body;
    post.digest = Sha256Hex(request.body);
    post.play = verdict.digest;
    post.fingerprint = verdict.fingerprint;
    std::string error;
    const auto added = store.Add(post, error);
    if (!added) {
        std::fprintf(stderr, "arcade-scores: %s\n", error.c_str());
        RefuseForNow(response, kUnavailable, "the score could not be stored; try again",
                     limits::kRetrySeconds);
        response.outcome.refusal = "not_stored";
        return;
    }
    // Stored, stored before, or the same game as a listed line: proven all three.
    response.outcome.proven = true;
    if (added->fresh) {
        table.Changed();
    }
    if (added->sameGame) {
        // The same game as a line already listed, under whatever name or bytes, or that game with
        // a few of its inputs changed: the line it has.
        const std::string line = ScoreLine(added->kept.points, added->kept.name);
        Refuse(response, kConflict,
               added->copy ? "this game copies one listed already: " + line
                           : "this game is listed already: " + line);
        response.SetHeader("Location", kReplays + std::to_string(added->kept.replayId));
        return;
    }
    if (Table(response)) {
        response.status = added->fresh ? kCreated : kOk;
        // How many lines the table holds, for the player to be told where their game went.
        if (const auto lines = store.Count(error)) {
            response.SetHeader("Table-Lines", std::to_string(*lines));
        }
    }
}

void ScoreApi::Replay(const HttpRequest& request, HttpResponse& response) {
    const auto id = IdOf(request.path.substr(std::string(kReplays).size()));
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
    response.SetHeader("Content-Disposition",
                       "attachment; filename=\"" + std::to_string(*id) + ".replay\"");
    response.SetContent(*bytes, kReplayType);
}

}  // namespace server
