#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "server/AddressList.h"
#include "server/ConnectionLimit.h"
#include "server/Deadlines.h"
#include "server/EventLoop.h"
#include "server/HttpMessage.h"
#include "server/MhdAdapter.h"
#include "server/RequestPolicy.h"
#include "server/Router.h"
#include "server/Workers.h"

struct MHD_Connection;

namespace server {

// What one client may hold of the server, and for how long.
struct DoorLimits {
    // Open at once, from everyone; at the ceiling the longest idle between requests are closed
    // to let newcomers in.
    int connections = 4096;
    int connectionsPerAddress = 32;           // open at once, from one address (an IPv6 /64)
    std::size_t mostHeaderBytes = 16 * 1024;  // of one request's headers, in all
    std::size_t largestBody = 64 * 1024;
    std::size_t heldBodies = 16 * 1024 * 1024;  // of all the bodies read at once
    std::size_t connectionMemory = 32 * 1024;   // what one connection may hold while reading
    int requestSeconds = 10;                    // to send a whole header, and again a whole body
    int idleSeconds = 5;                        // of silence, between requests or within one
    // Threads for the routes that read the table or files, and their work queued beyond those.
    int readingWorkers = 2;
    std::size_t readingWaiting = 1024;
    // Peers never counted against one address: trusted proxies, each every player's peer.
    AddressList uncounted;
};

// The server's door: reads requests on one thread, event-driven, memory bounded per connection
// and in all, and hands each whole request to its route; an answer that may wait is made
// elsewhere while its connection waits, set aside, and the door goes on with the others. Its
// parts: the event loop, the deadlines, the request policy and the library's adapter.
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
    // Lets the answers made elsewhere finish before the connections are closed.
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
    void Stop() { loop.Stop(); }
    // From any thread.
    std::size_t OpenConnections() const { return open.load(); }

  private:
    struct Exchange;
    friend struct DoorCalls;  // the library's callbacks, which land here

    bool Admit(const std::string& peer);
    void Connect(MHD_Connection* connection, bool opened);
    bool Take(MHD_Connection* connection, const char* url, const char* method, const char* version,
              const char* upload, std::size_t* uploadSize, void** context);
    // A request whose handling threw: refused, if its answer can still be given.
    bool Fail(MHD_Connection* connection, void** context) noexcept;
    void Begin(MHD_Connection* connection, Exchange& exchange, const char* url, const char* method,
               const char* version);
    bool Work(MHD_Connection* connection, Exchange& exchange);
    bool Queue(MHD_Connection* connection, Exchange& exchange);
    void Finish(MHD_Connection* connection, void** context);
    void CloseOverdue();
    void GiveMemoryBack();
    // An answer made elsewhere is in: its connection goes on. From any thread.
    void Resumed(MHD_Connection* connection);

    const Router& router;
    DoorLimits limits;
    PolicyLimits policy;
    Observer observe;
    Resolver resolve;
    EventLoop loop;
    mhd::Daemon daemon;
    std::atomic<std::size_t> open{0};
    std::size_t underWay = 0;  // requests with their header in and their answer not yet sent
    // Touched on the door's thread only.
    Deadlines deadlines;
    ConnectionLimit perClient;
    BodyBudget bodies;
    std::unordered_map<int, std::string> peers;  // by socket
    std::unordered_set<int> shed;                // closed for newcomers, not yet gone
    // The most open, and the most bytes of bodies held, since memory was last given back.
    std::size_t mostOpen = 0;
    std::size_t mostHeld = 0;
    Clock::time_point givenBack;
    // Answers being made elsewhere (the proving pool), which the door waits for before it ends.
    std::mutex laterLock;
    std::condition_variable laterDone;
    std::size_t later = 0;
    std::unique_ptr<Workers> reading;
};

}  // namespace server
