#include "server/HttpDoor.h"

#include <microhttpd.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "server/ClientAddress.h"

namespace server {
namespace {

constexpr const char* kText = "text/plain; charset=utf-8";
// The longest the door sleeps: how late an overdue client may be closed.
constexpr int kTickMilliseconds = 200;

struct HeaderTally {
    HttpRequest* request;
    std::size_t bytes = 0;
};

MHD_Result Collect(void* tally, MHD_ValueKind, const char* key, const char* value) {
    auto* into = static_cast<HeaderTally*>(tally);
    const std::string name = key != nullptr ? key : "";
    const std::string text = value != nullptr ? value : "";
    into->bytes += name.size() + text.size() + 4;  // ": " and the line's end
    into->request->headers.emplace_back(name, text);
    return MHD_YES;
}

bool HasBody(const HttpRequest& request) {
    const std::string length = request.Header("Content-Length");
    return (!length.empty() && length != "0") || !request.Header("Transfer-Encoding").empty();
}

// A Content-Length beyond most; a malformed one is the library's to refuse.
bool LongerThan(const HttpRequest& request, std::size_t most) {
    const std::string length = request.Header("Content-Length");
    if (length.empty() || length.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    return length.size() > 18 || std::strtoull(length.c_str(), nullptr, 10) > most;
}

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
    response.status = MHD_HTTP_INTERNAL_SERVER_ERROR;
    response.SetContent("the server failed to answer this request\n", kText);
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

void Signal(int eventDescriptor) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(eventDescriptor, &one, sizeof one);
}

// Frees what a shared answer held, once the library has sent it.
void LetGo(void* held) {
    delete static_cast<std::shared_ptr<const std::string>*>(held);
}

}  // namespace

// One request on its way: read, then answered, on the door's thread or on a worker.
struct HttpDoor::Exchange {
    HttpRequest request;
    HttpResponse response;
    const Route* route = nullptr;
    HttpDoor::Clock::time_point begun = HttpDoor::Clock::now();
    bool answered = false;  // the response is made, to be sent
    bool working = false;   // a worker is making it
};

// The library's callbacks, each a door's own function.
struct DoorCalls {
    static MHD_Result Answer(void* door, MHD_Connection* connection, const char* url,
                             const char* method, const char* version, const char* upload,
                             std::size_t* uploadSize, void** context) {
        return static_cast<HttpDoor*>(door)->Take(connection, url, method, version, upload,
                                                  uploadSize, context)
                   ? MHD_YES
                   : MHD_NO;
    }
    static void Completed(void* door, MHD_Connection* connection, void** context,
                          MHD_RequestTerminationCode) {
        static_cast<HttpDoor*>(door)->Finish(connection, context);
    }
    static void Connected(void* door, MHD_Connection* connection, void**,
                          MHD_ConnectionNotificationCode what) {
        static_cast<HttpDoor*>(door)->Connect(connection, what == MHD_CONNECTION_NOTIFY_STARTED);
    }
};

HttpDoor::HttpDoor(const Router& router, const DoorLimits& limits)
    : router(router), limits(limits) {
    stopSignal = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    resumedSignal = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

HttpDoor::~HttpDoor() {
    // Every worker ends its work, and lets its connection go on, before any connection is
    // closed under it.
    proving.reset();
    reading.reset();
    if (daemon != nullptr) {
        MHD_stop_daemon(daemon);
    }
    for (const int signal : {stopSignal, resumedSignal}) {
        if (signal >= 0) {
            close(signal);
        }
    }
}

bool HttpDoor::Open(int listening, std::string& error) {
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    getsockname(listening, reinterpret_cast<sockaddr*>(&bound), &size);
    const unsigned flags =
        MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME | (bound.ss_family == AF_INET6 ? MHD_USE_IPv6 : 0);
    daemon = MHD_start_daemon(
        flags, 0, nullptr, nullptr, &DoorCalls::Answer, this, MHD_OPTION_LISTEN_SOCKET, listening,
        MHD_OPTION_CONNECTION_LIMIT, static_cast<unsigned>(limits.connections),
        MHD_OPTION_PER_IP_CONNECTION_LIMIT, static_cast<unsigned>(limits.connectionsPerAddress),
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, limits.connectionMemory, MHD_OPTION_CONNECTION_TIMEOUT,
        static_cast<unsigned>(limits.idleSeconds), MHD_OPTION_NOTIFY_COMPLETED,
        &DoorCalls::Completed, this, MHD_OPTION_NOTIFY_CONNECTION, &DoorCalls::Connected, this,
        MHD_OPTION_END);
    if (daemon == nullptr || stopSignal < 0 || resumedSignal < 0) {
        close(listening);
        error = "cannot serve on the listening socket";
        return false;
    }
    proving = std::make_unique<Workers>(limits.provingWorkers, limits.provingWaiting);
    reading = std::make_unique<Workers>(limits.readingWorkers, limits.readingWaiting);
    return true;
}

void HttpDoor::Run() {
    const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon, MHD_DAEMON_INFO_EPOLL_FD);
    pollfd watched[3] = {
        {info->epoll_fd, POLLIN, 0}, {stopSignal, POLLIN, 0}, {resumedSignal, POLLIN, 0}};
    // Once stopped, by when the requests under way must be answered.
    std::optional<Clock::time_point> draining;
    for (;;) {
        MHD_UNSIGNED_LONG_LONG wait = kTickMilliseconds;
        if (MHD_get_timeout(daemon, &wait) != MHD_YES || wait > kTickMilliseconds) {
            wait = kTickMilliseconds;
        }
        if (poll(watched, 3, static_cast<int>(wait)) < 0 && errno != EINTR) {
            return;
        }
        if (watched[1].revents != 0 && !draining) {
            // A service manager's stop: a post already taken is proven, stored and answered
            // (its player told the truth) before the server ends; no new connection is taken.
            const MHD_socket listening = MHD_quiesce_daemon(daemon);
            if (listening != MHD_INVALID_SOCKET) {
                close(listening);
            }
            watched[1].fd = -1;
            draining = Clock::now() + 2 * std::chrono::seconds(limits.requestSeconds);
        }
        if (draining && (underWay == 0 || Clock::now() >= *draining)) {
            return;
        }
        MHD_run(daemon);
        // A connection let go on by a worker is taken up again by one run and served by the
        // next; without a second run now it would wait for a tick, its client having nothing
        // more to send that would wake the door.
        if (watched[2].revents != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto read = ::read(resumedSignal, &count, sizeof count);
            MHD_run(daemon);
        }
        CloseOverdue();
    }
}

void HttpDoor::Stop() {
    Signal(stopSignal);
}

void HttpDoor::Connect(MHD_Connection* connection, bool opened) {
    const int socket =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd;
    if (!opened) {
        visits.erase(socket);
        --open;
        return;
    }
    ++open;
    // An answer's header and body go out as they are made: a client on a kept connection
    // never waits for its own delayed acknowledgement.
    const int yes = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    visits[socket].deadline = Clock::now() + std::chrono::seconds(limits.requestSeconds);
}

HttpDoor::Visit* HttpDoor::VisitOf(MHD_Connection* connection) {
    const int socket =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd;
    const auto found = visits.find(socket);
    return found != visits.end() ? &found->second : nullptr;
}

// A client that owes the rest of its request past its time is cut off: the socket is shut
// here, on the door's thread, and the library closes it as it would any other.
void HttpDoor::CloseOverdue() {
    const auto now = Clock::now();
    for (auto& [socket, visit] : visits) {
        if (visit.deadline && *visit.deadline <= now) {
            shutdown(socket, SHUT_RDWR);
            visit.deadline.reset();
        }
    }
}

bool HttpDoor::Take(MHD_Connection* connection, const char* url, const char* method,
                    const char* version, const char* upload, std::size_t* uploadSize,
                    void** context) {
    auto* exchange = static_cast<Exchange*>(*context);
    if (exchange == nullptr) {
        // The whole header is in: the body, if any, has its own time from here.
        auto made = std::make_unique<Exchange>();
        exchange = made.get();
        *context = made.release();  // freed by Finish
        ++underWay;
        Begin(connection, *exchange, url, method, version);
        // An answer made before the request is in whole ends its connection: so only where a
        // body follows that is never to be read.
        if (exchange->answered && HasBody(exchange->request)) {
            return Queue(connection, *exchange);
        }
        if (Visit* visit = VisitOf(connection)) {
            visit->deadline = Clock::now() + std::chrono::seconds(limits.requestSeconds);
        }
        return true;
    }
    if (*uploadSize > 0) {
        const std::size_t size = *uploadSize;
        *uploadSize = 0;
        if (exchange->answered) {
            return true;  // refused already: what still comes is dropped unread
        }
        if (exchange->request.body.size() + size > limits.largestBody) {
            // Sent without a length, and larger than any. Told so where the library takes an
            // answer before the body is in whole; this one (0.9.75) refuses it then, suspended or
            // not, so the connection is cut off unanswered, and nothing is logged as said.
            Refuse(*exchange, MHD_HTTP_CONTENT_TOO_LARGE,
                   "the request is larger than " + std::to_string(limits.largestBody) + " bytes");
            exchange->response.SetHeader("Connection", "close");
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

void HttpDoor::Begin(MHD_Connection* connection, Exchange& exchange, const char* url,
                     const char* method, const char* version) {
    HttpRequest& request = exchange.request;
    request.method = method;
    request.path = url;
    HeaderTally tally{&request};
    MHD_get_connection_values(connection, MHD_HEADER_KIND, &Collect, &tally);
    request.peer = PeerAddress(
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS)->client_addr);
    request.client = resolve ? resolve(request) : request.peer;
    if (tally.bytes > limits.mostHeaderBytes) {
        Refuse(exchange, MHD_HTTP_REQUEST_HEADER_FIELDS_TOO_LARGE,
               "the request's headers are larger than " + std::to_string(limits.mostHeaderBytes) +
                   " bytes in all");
        exchange.response.SetHeader("Connection", "close");
        return;
    }
    // The library lets a request of HTTP/1.1 without a Host through; no such request is made by
    // anything that speaks it.
    if (version != nullptr && std::string(version) == MHD_HTTP_VERSION_1_1 &&
        MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_HOST) == nullptr) {
        Refuse(exchange, MHD_HTTP_BAD_REQUEST, "an HTTP/1.1 request names its Host");
        exchange.response.SetHeader("Connection", "close");
        return;
    }
    bool known = false;
    exchange.route = router.Find(request.method, request.path, known);
    if (exchange.route == nullptr) {
        Refuse(exchange, known ? MHD_HTTP_METHOD_NOT_ALLOWED : MHD_HTTP_NOT_FOUND,
               known ? "not a method this path takes" : "no such thing here");
        return;
    }
    if (!exchange.route->admit) {
        // A route that takes no body is answered at once; a body sent all the same is never
        // read, and the connection ends with the answer.
        if (exchange.route->runs == Route::Runs::kHere) {
            Respond(*exchange.route, request, exchange.response);
            exchange.answered = true;
        }
        return;
    }
    request.bodyTooLarge = LongerThan(request, limits.largestBody);
    const Route& route = *exchange.route;
    if (!Guarded([&] { return route.admit(request, exchange.response); }, exchange.response) ||
        request.bodyTooLarge) {
        if (exchange.response.status == MHD_HTTP_OK) {
            Refuse(exchange, MHD_HTTP_CONTENT_TOO_LARGE, "the request is too large");
        }
        exchange.answered = true;
    }
}

void HttpDoor::Refuse(Exchange& exchange, int status, const std::string& reason) {
    exchange.response = HttpResponse();
    exchange.response.status = status;
    exchange.response.SetContent(reason + "\n", kText);
    exchange.answered = true;
}

// The whole request is in: answered here, or set aside while a worker answers it.
bool HttpDoor::Work(MHD_Connection* connection, Exchange& exchange) {
    if (exchange.route->runs == Route::Runs::kHere) {
        Respond(*exchange.route, exchange.request, exchange.response);
        exchange.answered = true;
        return Queue(connection, exchange);
    }
    if (Visit* visit = VisitOf(connection)) {
        visit->deadline.reset();  // the client owes nothing while it waits
    }
    exchange.working = true;
    MHD_suspend_connection(connection);
    Exchange* given = &exchange;
    Workers& workers = exchange.route->runs == Route::Runs::kProving ? *proving : *reading;
    const bool taken = workers.Submit([this, given, connection] {
        Respond(*given->route, given->request, given->response);
        given->answered = true;
        MHD_resume_connection(connection);
        Signal(resumedSignal);
    });
    if (!taken) {
        Refuse(exchange, MHD_HTTP_SERVICE_UNAVAILABLE, "busy; try again shortly");
        exchange.response.SetHeader("Retry-After", "2");
        MHD_resume_connection(connection);
        Signal(resumedSignal);
    }
    return true;
}

bool HttpDoor::Queue(MHD_Connection* connection, Exchange& exchange) {
    HttpResponse& answer = exchange.response;
    MHD_Response* response = nullptr;
    if (answer.file) {
        const auto size = answer.file->Size();
        const auto offset = answer.file->Offset();
        response = MHD_create_response_from_fd_at_offset64(size, answer.file->Release(), offset);
    } else if (answer.shared) {
        auto* held = new std::shared_ptr<const std::string>(answer.shared);
        response = MHD_create_response_from_buffer_with_free_callback_cls(
            (*held)->size(), const_cast<char*>((*held)->data()), &LetGo, held);
    } else {
        response = MHD_create_response_from_buffer(
            answer.body.size(), const_cast<char*>(answer.body.data()), MHD_RESPMEM_MUST_COPY);
    }
    if (response == nullptr) {
        return false;
    }
    for (const auto& [name, value] : router.Headers()) {
        MHD_add_response_header(response, name.c_str(), value.c_str());
    }
    for (const auto& [name, value] : answer.headers) {
        MHD_add_response_header(response, name.c_str(), value.c_str());
    }
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(answer.status), response);
    MHD_destroy_response(response);
    if (Visit* visit = VisitOf(connection)) {
        visit->deadline.reset();  // the answer's pace is the client's: bounded by silence alone
    }
    return queued == MHD_YES;
}

void HttpDoor::Finish(MHD_Connection* connection, void** context) {
    const std::unique_ptr<Exchange> exchange(static_cast<Exchange*>(*context));
    *context = nullptr;
    if (exchange) {
        --underWay;
    }
    if (exchange && exchange->answered && observe) {
        observe(exchange->request, exchange->response, Clock::now() - exchange->begun);
    }
    // The next request on this connection has its time from now.
    if (Visit* visit = VisitOf(connection)) {
        visit->deadline = Clock::now() + std::chrono::seconds(limits.requestSeconds);
    }
}

}  // namespace server
