// arcade-scores: serves the browser game and the one high-score table all its players share.
#include <httplib.h>
#include <signal.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "server/ProvingGate.h"
#include "server/RateLimit.h"
#include "server/ScoreApi.h"
#include "server/ScoreStore.h"
#include "server/ServerLimits.h"
#include "server/ServerOptions.h"
#include "server/StaticFiles.h"

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
    if (!options.site.empty() && !std::filesystem::is_directory(options.site)) {
        return Fail("--site " + options.site + ": no such folder");
    }
    // Proving plays the game with no window, font or sound; should anything of SDL's start
    // all the same, it must never look for a display or a sound card on a server.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    std::unique_ptr<ScoreStore> store = OpenStore(options.db, error);
    if (store == nullptr) {
        return Fail(error);
    }
    ProvingGate gate(limits::kMostProvingPosts);
    RateLimit limit(options.postsPerMinute, limits::kMostRememberedAddresses);
    StaticFiles site(options.site);
    ScoreApi api(*store, gate, limit, site);

    httplib::Server http;
    http.new_task_queue = [] { return new httplib::ThreadPool(limits::kWorkers); };
    http.set_read_timeout(limits::kRequestSeconds, 0);
    http.set_write_timeout(limits::kRequestSeconds, 0);
    http.set_payload_max_length(limits::kLargestPost);
    // The library listens with room for five connections waiting to be taken: a moment's crowd
    // of players would have the rest dropped, each to be retried by its browser a second or
    // more later. The listening socket is noted as it is made, and given a long queue once bound.
    // Its own options would also let a second server take the same port and quietly share the
    // players with the first; a port already served is refused instead.
    int listening = -1;
    http.set_socket_options([&listening](int made) {
        const int yes = 1;
        setsockopt(made, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = made;
    });
    api.Install(http);

    const int port = options.port == 0
                         ? http.bind_to_any_port(options.bind)
                         : (http.bind_to_port(options.bind, options.port) ? options.port : -1);
    if (port < 0) {
        return Fail("cannot listen on " + options.bind + " port " + std::to_string(options.port));
    }
    if (listening >= 0) {
        listen(listening, SOMAXCONN);
    }
    std::printf("Serving %s on http://%s:%d/ (table: %s)\n",
                options.site.empty() ? "the score table" : "the game",
                options.bind.find(':') != std::string::npos ? ("[" + options.bind + "]").c_str()
                                                            : options.bind.c_str(),
                port, Shown(options.db).c_str());
    std::fflush(stdout);

    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread stopper([&http, signals] {
        int signal = 0;
        sigwait(&signals, &signal);
        http.stop();
    });
    const bool listened = http.listen_after_bind();
    // However listening ended, the stopper is woken so that it can be joined.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return listened ? 0 : Fail("stopped listening");
}
