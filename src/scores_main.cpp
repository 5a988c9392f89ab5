// arcade-scores: serves the browser game and the one high-score table all its players share.
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "server/ClientAddress.h"
#include "server/HttpDoor.h"
#include "server/KeptPrints.h"
#include "server/Listener.h"
#include "server/Metrics.h"
#include "server/ProvingGate.h"
#include "server/RateLimit.h"
#include "server/RequestLog.h"
#include "server/Router.h"
#include "server/ScoreApi.h"
#include "server/ScoreStore.h"
#include "server/ServerLimits.h"
#include "server/ServerOptions.h"
#include "server/ServiceRoutes.h"
#include "server/SqliteBackup.h"
#include "server/StaticFiles.h"
#include "server/TrustedProxy.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "arcade-scores: %s\n", message.c_str());
    return 1;
}

// Ctrl+C or a service manager's stop ends the server between requests: taken by a thread of its
// own, since a signal handler may not stop it.
sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

// The table's name as it may be shown: a password in a postgresql:// name stays off the screen
// and out of the logs.
std::string Shown(const std::string& db) {
    const auto scheme = db.find("://");
    const auto at = db.find('@');
    if (scheme == std::string::npos || at == std::string::npos || at < scheme) {
        return db;
    }
    const auto colon = db.find(':', scheme + 3);
    return colon < at ? db.substr(0, colon) + ":***" + db.substr(at) : db;
}

// Each connection is a descriptor: the soft limit (often 1024) is raised as far as allowed, so
// that the connection limit is the one a crowd meets.
void OpenEnoughFiles(int connections) {
    // The listening socket, the table, the site's files, and the connections being closed to
    // make room for newcomers.
    constexpr rlim_t kSpare = 128;
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) != 0) {
        return;
    }
    const rlim_t wanted = static_cast<rlim_t>(connections) + kSpare;
    if (files.rlim_cur < wanted) {
        files.rlim_cur =
            files.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, files.rlim_max);
        setrlimit(RLIMIT_NOFILE, &files);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace server;
    ServerOptions options;
    std::string error;
    if (!ParseServerOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "arcade-scores: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(ServerUsage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("arcade-scores %s\n", ARCADE_VERSION);
        return 0;
    }
    if (!options.backup.empty()) {
        const std::string sqlite = "sqlite:";
        if (options.db.compare(0, sqlite.size(), sqlite) != 0) {
            return Fail("--backup copies a sqlite: table; back a PostgreSQL one up with pg_dump");
        }
        if (!BackupSqlite(options.db.substr(sqlite.size()), options.backup, error)) {
            return Fail(error);
        }
        std::printf("Copied the table %s into %s\n", options.db.c_str(), options.backup.c_str());
        return 0;
    }
    if (!options.site.empty() && !std::filesystem::is_directory(options.site)) {
        return Fail("--site " + options.site + ": no such folder");
    }
    // Proving plays the game with no window, font or sound; should anything of SDL's start
    // all the same, it must never look for a display or a sound card on a server.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    // Blocked before any thread starts, so that every thread inherits it and the stopper
    // alone takes them.
    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::unique_ptr<ScoreStore> store = OpenStore(options.db, error);
    if (store == nullptr) {
        return Fail(error);
    }
    // The games an older server kept are proven again for their fingerprints before any post is
    // taken, so that no copy of one is listed meanwhile; a stop signal ends it between lines.
    const auto reproven = FingerprintKeptGames(
        *store, std::max(1u, std::thread::hardware_concurrency()),
        [&signals] {
            sigset_t pending;
            return sigpending(&pending) == 0 &&
                   (sigismember(&pending, SIGINT) == 1 || sigismember(&pending, SIGTERM) == 1);
        },
        error);
    if (!reproven) {
        return Fail(error);
    }
    if (reproven->lines > 0) {
        std::fprintf(stderr,
                     "arcade-scores: %zu kept games proven again for their fingerprints in %.1f "
                     "s (%zu no longer prove)\n",
                     reproven->lines, reproven->seconds, reproven->lines - reproven->proven);
    }
    if (reproven->stopped) {
        return 0;
    }
    ProvingGate gate(limits::kMostProvingPosts);
    RateLimit limit(options.postsPerMinute, limits::kMostRememberedAddresses);
    StaticFiles site(options.site);
    ScoreApi api(*store, gate, limit, site);
    Metrics metrics;
    ServiceRoutes service(*store, metrics, options.metricsFrom);
    Router router;
    service.Install(router);
    api.Install(router);

    int port = options.port;
    const int listening = Listen(options.bind, port, error);
    if (listening < 0) {
        return Fail(error);
    }
    DoorLimits doorLimits;
    doorLimits.connections = options.connections;
    doorLimits.connectionsPerAddress = options.connectionsPerAddress;
    doorLimits.mostHeaderBytes = limits::kMostHeaderBytes;
    doorLimits.largestBody = limits::kLargestPost;
    doorLimits.heldBodies = limits::kHeldBodyBytes;
    doorLimits.connectionMemory = limits::kConnectionMemory;
    doorLimits.requestSeconds = limits::kRequestSeconds;
    doorLimits.idleSeconds = limits::kIdleSeconds;
    doorLimits.readingWorkers = limits::kReadingWorkers;
    // A proxy in front is every player's peer: its connections are its players', each counted
    // by the proxy itself.
    doorLimits.uncounted = options.trustProxy;
    OpenEnoughFiles(options.connections);
    HttpDoor door(router, doorLimits);
    const TrustedProxy proxy(options.trustProxy);
    door.Resolve([&proxy](const HttpRequest& request) { return proxy.ClientOf(request); });
    door.Observe([&metrics](const HttpRequest& request, const HttpResponse& response,
                            HttpDoor::Clock::duration took) {
        metrics.Count(request, response);
        std::fprintf(stderr, "%s\n",
                     RequestLine(request, response, took, ClientAddress(request)).c_str());
    });
    service.Watch({[&gate] { return gate.Busy(); }, [&door] { return door.OpenConnections(); }});
    if (!door.Open(listening, error)) {
        return Fail(error);
    }
    std::printf("Serving %s on http://%s:%d/ (table: %s)\n",
                options.site.empty() ? "the score table" : "the game",
                options.bind.find(':') != std::string::npos ? ("[" + options.bind + "]").c_str()
                                                            : options.bind.c_str(),
                port, Shown(options.db).c_str());
    std::fflush(stdout);

    std::thread stopper([&door, signals] {
        int signal = 0;
        sigwait(&signals, &signal);
        door.Stop();
    });
    door.Run();
    // However serving ended, the stopper is woken so that it can be joined.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return 0;
}
