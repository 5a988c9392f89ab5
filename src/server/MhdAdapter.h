#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct MHD_Daemon;
struct MHD_Connection;
struct MHD_Response;

namespace server {

class HttpDoor;
struct HttpRequest;
struct HttpResponse;

// The door's side of libmicrohttpd: its daemon, its callbacks (each noexcept: a C++ exception
// becomes a refused request, never an unwinding through C), and its responses, each owned until
// the library holds its own reference. Nothing here decides anything: HttpDoor does.
namespace mhd {

struct DaemonSettings {
    int listening = -1;
    bool ipv6 = false;
    unsigned connections = 0;  // the library's own ceiling, above the door's
    std::size_t connectionMemory = 0;
    unsigned idleSeconds = 0;
};

struct StopDaemon {
    void operator()(MHD_Daemon* daemon) const noexcept;
};
using Daemon = std::unique_ptr<MHD_Daemon, StopDaemon>;

// Serves the listening socket for door, its callbacks landing in the door's own functions.
Daemon Start(HttpDoor& door, const DaemonSettings& settings);
// The daemon's epoll descriptor, to wait on.
int EventsOf(MHD_Daemon* daemon);
// How long the door may sleep before the library has something to do, at most most.
int WaitOf(MHD_Daemon* daemon, int most);
void Run(MHD_Daemon* daemon);
// Stops taking connections; the listening socket is closed.
void Quiesce(MHD_Daemon* daemon);

int SocketOf(MHD_Connection* connection);
std::string PeerOf(MHD_Connection* connection);
// Copies the request's headers in; the bytes they took, as sent.
std::size_t ReadHeaders(MHD_Connection* connection, HttpRequest& request);
bool NamesHost(MHD_Connection* connection);
void Suspend(MHD_Connection* connection);
// From any thread.
void Resume(MHD_Connection* connection);

using Headers = std::vector<std::pair<std::string, std::string>>;
// Queues the answer with the headers every answer carries; its file or shared bytes pass to the
// library only once it has taken them. False when the library refused it.
bool Queue(MHD_Connection* connection, HttpResponse& answer, const Headers& every);

}  // namespace mhd
}  // namespace server
