#include "server/HttpDoor.h"

#include <malloc.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>

namespace server {
namespace {

constexpr const char* kText = "text/plain; charset=utf-8";
constexpr const char* kHttp11 = "HTTP/1.1";
constexpr int kFailed = 500;
constexpr int kUnavailable = 503;
constexpr int kRetrySeconds = 2;
// The longest the door sleeps: how late an overdue client may be closed.
constexpr int kTickMilliseconds = 200;
// Connections closed for newcomers and not yet gone, beyond the door's ceiling: the library's
// own ceiling is this much higher, so that it still takes the newcomers meanwhile.
constexpr unsigned kShedding = 64;
// What a crowd that has gone held before its memory is given back to the system (connections
// beyond those still open, or bodies), and how often at most: a steady stream of connections
// coming and going reuses what it frees, and giving that back would only make it fault in anew.
constexpr std::size_t kGoneConnections = 256;
constexpr std::size_t kGoneBodyBytes = 4 * 1024 * 1024;
constexpr auto kGiveBackEvery = std::chrono::seconds(1);

// A route that fails answers 500 rather than taking the server down with it.
template <typename Call>
bool Guarded(Call call, HttpResponse& response) {
    try {
        return call();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "arcade-scores: a request failed: %s\n", failure.what());
    } catch (...) {
        std::fprintf(stderr, "arcade-scores: a request failed\n");
    }
    response = HttpResponse();
    response.status = kFailed;
    response.SetContent("the server failed to answer this request\n", kText);
    response.outcome.refusal = "failed";
    return false;
}

void Respond(const Route& route, const HttpRequest& request, HttpResponse& response) {
    Guarded(
        [&] {
            route.answer(request, response);
            return true;
        },
        response);
}

void Refuse(HttpResponse& response, int status, const std::string& reason) {
    response = HttpResponse();
    response.status = status;
    response.SetContent(reason + "\n", kText);
}

}  // namespace

// One request on its way: read, then answered, on the door's thread or elsewhere.
struct HttpDoor::Exchange {
    HttpRequest request;
    HttpResponse response;
    const Route* route = nullptr;
    HttpDoor::Clock::time_point begun = HttpDoor::Clock::now();
    int socket = -1;
    std::size_t reserved = 0;  // of the bodies' budget
    bool answered = false;     // the response is made, to be sent
    bool working = false;      // it is being made elsewhere
};

HttpDoor::HttpDoor(const Router& router, const DoorLimits& limits)
    : router(router),
      limits(limits),
      policy{limits.mostHeaderBytes, limits.largestBody},
      deadlines(std::chrono::seconds(limits.requestSeconds)),
      perClient(limits.connectionsPerAddress, limits.uncounted),
      bodies(limits.heldBodies) {}

HttpDoor::~HttpDoor() {
    // Every answer being made ends, and lets its connection go on, before any connection is
    // closed under it.
    {
        std::unique_lock<std::mutex> held(laterLock);
        laterDone.wait(held, [this] { return later == 0; });
    }
    reading.reset();
    daemon.reset();
}

bool HttpDoor::Open(int listening, std::string& error) {
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    getsockname(listening, reinterpret_cast<sockaddr*>(&bound), &size);
    mhd::DaemonSettings settings;
    settings.listening = listening;
    settings.ipv6 = bound.ss_family == AF_INET6;
    settings.connections = static_cast<unsigned>(limits.connections) + kShedding;
    settings.connectionMemory = limits.connectionMemory;
    settings.idleSeconds = static_cast<unsigned>(limits.idleSeconds);
    if (loop.Ready()) {
        daemon = mhd::Start(*this, settings);
    }
    if (!daemon) {
        close(listening);
        error = "cannot serve on the listening socket";
        return false;
    }
    reading = std::make_unique<Workers>(limits.readingWorkers, limits.readingWaiting);
    givenBack = Clock::now();
    return true;
}

void HttpDoor::Run() {
    const int events = mhd::EventsOf(daemon.get());
    // Once stopped, by when the requests under way must be answered.
    std::optional<Clock::time_point> draining;
    for (;;) {
        EventLoop::Woken woken;
        if (!loop.Wait(events, mhd::WaitOf(daemon.get(), kTickMilliseconds), woken)) {
            return;
        }
        if (woken.stop && !draining) {
            // A service manager's stop: a post already taken is proven, stored and answered
            // (its player told the truth) before the server ends; no new connection is taken.
            mhd::Quiesce(daemon.get());
            draining = Clock::now() + 2 * std::chrono::seconds(limits.requestSeconds);
        }
        if (draining && (underWay == 0 || Clock::now() >= *draining)) {
            return;
        }
        mhd::Run(daemon.get());
        // A connection let go on from elsewhere is taken up again by one run and served by the
        // next; without a second run now it would wait for a tick, its client having nothing
        // more to send that would wake the door.
        if (woken.wake) {
            mhd::Run(daemon.get());
        }
        CloseOverdue();
        GiveMemoryBack();
    }
}

bool HttpDoor::Admit(const std::string& peer) {
    if (!perClient.Admits(peer)) {
        return false;
    }
    const auto room = static_cast<std::size_t>(limits.connections);
    if (open.load() - shed.size() >= room) {
        // Full: the connection idle longest makes way, as a kept connection may be closed
        // between requests at any time; its client opens another when it has more to ask.
        for (const int socket : deadlines.Idlest(1)) {
            shutdown(socket, SHUT_RDWR);
            deadlines.Owes(socket);
            shed.insert(socket);
        }
    }
    return open.load() - shed.size() < room;
}

void HttpDoor::Connect(MHD_Connection* connection, bool opened) {
    const int socket = mhd::SocketOf(connection);
    if (!opened) {
        const auto found = peers.find(socket);
        if (found != peers.end()) {
            perClient.Closed(found->second);
            peers.erase(found);
        }
        deadlines.Closed(socket);
        shed.erase(socket);
        --open;
        return;
    }
    ++open;
    const std::string peer = mhd::PeerOf(connection);
    perClient.Opened(peer);
    peers[socket] = peer;
    deadlines.Opened(socket, Clock::now());
    // An answer's header and body go out as they are made: a client on a kept connection
    // never waits for its own delayed acknowledgement.
    const int yes = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

// A client that owes the rest of its request past its time is cut off: the socket is shut
// here, on the door's thread, and the library closes it as it would any other.
void HttpDoor::CloseOverdue() {
    for (const int socket : deadlines.Overdue(Clock::now())) {
        shutdown(socket, SHUT_RDWR);
    }
}

// What bodies and connections held goes back to the system once they are gone, so that a crowd
// that came and went leaves the server as small as it was.
void HttpDoor::GiveMemoryBack() {
    const std::size_t connections = open.load();
    mostOpen = std::max(mostOpen, connections);
    mostHeld = std::max(mostHeld, bodies.Held());
    const auto now = Clock::now();
    const bool crowdGone = mostOpen >= 2 * connections + kGoneConnections;
    const bool bodiesGone = mostHeld >= kGoneBodyBytes && bodies.Held() <= mostHeld / 4;
    if ((crowdGone || bodiesGone) && now - givenBack >= kGiveBackEvery) {
        malloc_trim(0);
        mostOpen = connections;
        mostHeld = bodies.Held();
        givenBack = now;
    }
}

bool HttpDoor::Take(MHD_Connection* connection, const char* url, const char* method,
                    const char* version, const char* upload, std::size_t* uploadSize,
                    void** context) {
    auto* exchange = static_cast<Exchange*>(*context);
    if (exchange == nullptr) {
        auto made = std::make_unique<Exchange>();
        exchange = made.get();
        *context = made.release();  // freed by Finish
        ++underWay;
        exchange->socket = mhd::SocketOf(connection);
        // The whole header is in: the body, if any, has its own time from here.
        deadlines.HeaderIn(exchange->socket, Clock::now());
        Begin(connection, *exchange, url, method, version);
        // An answer made before the request is in whole ends its connection: so only where a
        // body follows that is never to be read.
        if (exchange->answered && HasBody(exchange->request)) {
            return Queue(connection, *exchange);
        }
        return true;
    }
    if (*uploadSize > 0) {
        const std::size_t size = *uploadSize;
        *uploadSize = 0;
        if (exchange->answered) {
            return true;  // refused already: what still comes is dropped unread
        }
        if (exchange->request.body.size() + size > exchange->reserved) {
            // Longer than its length said, or sent in chunks and larger than any. Told so where
            // the library takes an answer before the body is in whole; this one (0.9.75) refuses
            // it then, suspended or not, so the connection is cut off unanswered, and nothing is
            // logged as said.
            Refuse(exchange->response, 413,
                   "the request is larger than " + std::to_string(limits.largestBody) + " bytes");
            exchange->response.outcome.refusal = "too_large";
            exchange->response.SetHeader("Connection", "close");
            exchange->answered = true;
            if (Queue(connection, *exchange)) {
                return true;
            }
            exchange->answered = false;
            return false;
        }
        exchange->request.body.append(upload, size);
        return true;
    }
    if (exchange->answered) {
        return Queue(connection, *exchange);
    }
    return exchange->working || Work(connection, *exchange);
}

bool HttpDoor::Fail(MHD_Connection* connection, void** context) noexcept {
    try {
        auto* exchange = static_cast<Exchange*>(*context);
        if (exchange == nullptr || exchange->working) {
            return false;
        }
        Refuse(exchange->response, kFailed, "the server failed to answer this request");
        exchange->response.outcome.refusal = "failed";
        exchange->response.SetHeader("Connection", "close");
        exchange->answered = true;
        return Queue(connection, *exchange);
    } catch (...) {
        return false;
    }
}

void HttpDoor::Begin(MHD_Connection* connection, Exchange& exchange, const char* url,
                     const char* method, const char* version) {
    HttpRequest& request = exchange.request;
    HttpResponse& response = exchange.response;
    request.method = method;
    request.path = url;
    RequestFacts facts;
    facts.headerBytes = mhd::ReadHeaders(connection, request);
    facts.http11 = version != nullptr && std::string(version) == kHttp11;
    facts.hasHost = mhd::NamesHost(connection);
    request.peer = mhd::PeerOf(connection);
    request.client = resolve ? resolve(request) : request.peer;
    const Ruling ruling = Rule(router, request, facts, policy);
    if (ruling.status != 0) {
        Refuse(response, ruling.status, ruling.reason);
        response.outcome.refusal = ruling.status == 413 ? "too_large" : "refused";
        if (ruling.close) {
            response.SetHeader("Connection", "close");
        }
        exchange.answered = true;
        return;
    }
    const Route& route = *ruling.route;
    exchange.route = &route;
    if (!route.admit) {
        if (route.runs == Route::Runs::kHere) {
            Respond(route, request, response);
            exchange.answered = true;
        } else if (route.quick) {
            exchange.answered = Guarded([&] { return route.quick(request, response); }, response);
            if (!exchange.answered && response.status == kFailed) {
                exchange.answered = true;
            }
        }
        return;
    }
    // A body to be read: first its room in the budget, then the route's own word on it.
    if (!request.bodyTooLarge && HasBody(request)) {
        const std::size_t bound = BodyBound(request, limits.largestBody);
        if (!bodies.Take(bound)) {
            Refuse(response, kUnavailable, "too many requests arriving at once; try again shortly");
            response.SetHeader("Retry-After", std::to_string(kRetrySeconds));
            response.SetHeader("Connection", "close");
            response.outcome.refusal = "busy";
            exchange.answered = true;
            return;
        }
        exchange.reserved = bound;
        request.body.reserve(bound);
    }
    if (!Guarded([&] { return route.admit(request, response); }, response) ||
        request.bodyTooLarge) {
        if (response.status == 200) {
            Refuse(response, 413, "the request is too large");
            response.outcome.refusal = "too_large";
        }
        exchange.answered = true;
    }
}

// The whole request is in: answered here, or set aside while it is answered elsewhere.
bool HttpDoor::Work(MHD_Connection* connection, Exchange& exchange) {
    const Route& route = *exchange.route;
    if (route.runs == Route::Runs::kHere) {
        Respond(route, exchange.request, exchange.response);
        exchange.answered = true;
        return Queue(connection, exchange);
    }
    deadlines.Owes(exchange.socket);  // the client owes nothing while it waits
    exchange.working = true;
    mhd::Suspend(connection);
    Exchange* given = &exchange;
    if (route.runs == Route::Runs::kLater) {
        {
            const std::lock_guard<std::mutex> held(laterLock);
            ++later;
        }
        const bool started = Guarded(
            [&] {
                route.later(given->request, given->response, [this, given, connection] {
                    given->answered = true;
                    Resumed(connection);
                    const std::lock_guard<std::mutex> held(laterLock);
                    if (--later == 0) {
                        laterDone.notify_all();
                    }
                });
                return true;
            },
            exchange.response);
        if (!started) {
            exchange.answered = true;
            Resumed(connection);
            const std::lock_guard<std::mutex> held(laterLock);
            --later;
        }
        return true;
    }
    const bool taken = reading->Submit([this, given, connection] {
        Respond(*given->route, given->request, given->response);
        given->answered = true;
        Resumed(connection);
    });
    if (!taken) {
        Refuse(exchange.response, kUnavailable, "busy; try again shortly");
        exchange.response.SetHeader("Retry-After", std::to_string(kRetrySeconds));
        exchange.response.outcome.refusal = "busy";
        exchange.answered = true;
        Resumed(connection);
    }
    return true;
}

void HttpDoor::Resumed(MHD_Connection* connection) {
    mhd::Resume(connection);
    loop.Wake();
}

bool HttpDoor::Queue(MHD_Connection* connection, Exchange& exchange) {
    // The answer's pace is the client's: bounded by silence alone.
    deadlines.Answered(exchange.socket);
    return mhd::Queue(connection, exchange.response, router.Headers());
}

void HttpDoor::Finish(MHD_Connection* connection, void** context) {
    const std::unique_ptr<Exchange> exchange(static_cast<Exchange*>(*context));
    *context = nullptr;
    if (!exchange) {
        return;
    }
    --underWay;
    bodies.Give(exchange->reserved);
    if (exchange->answered && observe) {
        observe(exchange->request, exchange->response, Clock::now() - exchange->begun);
    }
    // The next request on this connection has its time from now.
    deadlines.Finished(mhd::SocketOf(connection), Clock::now());
}

}  // namespace server
