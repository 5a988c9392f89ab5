#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "server/HttpMessage.h"
#include "server/Router.h"
#include "server/Workers.h"

struct MHD_Daemon;
struct MHD_Connection;

namespace server {

// What one client may hold of the server, and for how long.
struct DoorLimits {
    int connections = 4096;                   // open at once, from everyone
    int connectionsPerAddress = 32;           // open at once, from one address
    std::size_t mostHeaderBytes = 16 * 1024;  // of one request's headers, in all
    std::size_t largestBody = 64 * 1024;
    std::size_t connectionMemory = 32 * 1024;  // what one connection may hold while reading
    int requestSeconds = 10;                   // to send a whole header, and again a whole body
    int idleSeconds = 5;                       // of silence, between requests or within one
    // Threads for the routes that run elsewhere, and their work queued beyond those running.
    int provingWorkers = 4;
    std::size_t provingWaiting = 0;
    int readingWorkers = 2;
    std::size_t readingWaiting = 1024;
};

// The server's door: reads requests on one thread, event-driven, memory bounded per
// connection, and hands each whole request to its route; an answer that may wait is made on a
// worker while its connection waits, set aside, and the door goes on with the others.
class HttpDoor {
  public:
    using Clock = std::chrono::steady_clock;
    // Told of every request answered, on the door's thread: what was asked, the answer, and
    // how long from its whole header to its answer.
    using Observer =
        std::function<void(const HttpRequest&, const HttpResponse&, Clock::duration took)>;
    // Names the player a request comes from (HttpRequest::client), its headers read.
    using Resolver = std::function<std::string(const HttpRequest&)>;

    HttpDoor(const Router& router, const DoorLimits& limits);
    // Lets the work given to workers finish before the connections are closed.
    ~HttpDoor();
    HttpDoor(const HttpDoor&) = delete;
    HttpDoor& operator=(const HttpDoor&) = delete;

    // Serves on the listening socket, which the door owns from now on. False, with error set,
    // when it cannot.
    bool Open(int listening, std::string& error);
    void Observe(Observer observer) { observe = std::move(observer); }
    void Resolve(Resolver resolver) { resolve = std::move(resolver); }
    // Serves until Stop, and then until the requests under way are answered (within a request's
    // time twice over): no new connection is taken meanwhile.
    void Run();
    // From any thread, or a signal handler.
    void Stop();
    // From any thread.
    std::size_t OpenConnections() const { return open.load(); }

  private:
    struct Exchange;
    // One connection: by when its client must have sent what it owes (nothing owed: no time).
    struct Visit {
        std::optional<Clock::time_point> deadline;
    };

    friend struct DoorCalls;  // the library's callbacks, which land here

    bool Take(MHD_Connection* connection, const char* url, const char* method, const char* version,
              const char* upload, std::size_t* uploadSize, void** context);
    void Begin(MHD_Connection* connection, Exchange& exchange, const char* url, const char* method,
               const char* version);
    void Refuse(Exchange& exchange, int status, const std::string& reason);
    void Finish(MHD_Connection* connection, void** context);
    void Connect(MHD_Connection* connection, bool opened);
    bool Work(MHD_Connection* connection, Exchange& exchange);
    bool Queue(MHD_Connection* connection, Exchange& exchange);
    Visit* VisitOf(MHD_Connection* connection);
    void CloseOverdue();

    const Router& router;
    DoorLimits limits;
    Observer observe;
    Resolver resolve;
    std::atomic<std::size_t> open{0};
    std::size_t underWay = 0;  // requests with their header in and their answer not yet sent
    int stopSignal = -1;       // an eventfd
    int resumedSignal = -1;    // an eventfd: a worker has let a connection go on
    MHD_Daemon* daemon = nullptr;
    std::unordered_map<int, Visit> visits;  // by socket; touched on the door's thread only
    std::unique_ptr<Workers> proving;
    std::unique_ptr<Workers> reading;
};

}  // namespace server
