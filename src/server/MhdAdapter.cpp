#include "server/MhdAdapter.h"

#include <microhttpd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

#include "server/ClientAddress.h"
#include "server/HttpDoor.h"
#include "server/HttpMessage.h"

namespace server {

// The library's callbacks, each a door's own function. None lets an exception out into C: what
// throws is logged and refused (the connection closed where no answer can be given).
struct DoorCalls {
    static void Failed(const char* where) noexcept {
        try {
            throw;
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "arcade-scores: %s failed: %s\n", where, failure.what());
        } catch (...) {
            std::fprintf(stderr, "arcade-scores: %s failed\n", where);
        }
    }
    static MHD_Result Accept(void* door, const sockaddr* address, socklen_t) noexcept {
        try {
            return static_cast<HttpDoor*>(door)->Admit(PeerAddress(address)) ? MHD_YES : MHD_NO;
        } catch (...) {
            Failed("taking a connection");
            return MHD_NO;
        }
    }
    static MHD_Result Answer(void* door, MHD_Connection* connection, const char* url,
                             const char* method, const char* version, const char* upload,
                             std::size_t* uploadSize, void** context) noexcept {
        auto* self = static_cast<HttpDoor*>(door);
        try {
            return self->Take(connection, url, method, version, upload, uploadSize, context)
                       ? MHD_YES
                       : MHD_NO;
        } catch (...) {
            Failed("a request");
            return self->Fail(connection, context) ? MHD_YES : MHD_NO;
        }
    }
    static void Completed(void* door, MHD_Connection* connection, void** context,
                          MHD_RequestTerminationCode) noexcept {
        try {
            static_cast<HttpDoor*>(door)->Finish(connection, context);
        } catch (...) {
            Failed("ending a request");
        }
    }
    static void Connected(void* door, MHD_Connection* connection, void**,
                          MHD_ConnectionNotificationCode what) noexcept {
        try {
            static_cast<HttpDoor*>(door)->Connect(connection,
                                                  what == MHD_CONNECTION_NOTIFY_STARTED);
        } catch (...) {
            Failed("counting a connection");
        }
    }
};

namespace mhd {
namespace {

struct FreeResponse {
    void operator()(MHD_Response* response) const noexcept { MHD_destroy_response(response); }
};
using Response = std::unique_ptr<MHD_Response, FreeResponse>;

struct HeaderTally {
    HttpRequest* request;
    std::size_t bytes = 0;
    bool failed = false;
};

MHD_Result Collect(void* tally, MHD_ValueKind, const char* key, const char* value) noexcept {
    auto* into = static_cast<HeaderTally*>(tally);
    try {
        const std::string name = key != nullptr ? key : "";
        const std::string text = value != nullptr ? value : "";
        into->bytes += name.size() + text.size() + 4;  // ": " and the line's end
        into->request->headers.emplace_back(name, text);
        return MHD_YES;
    } catch (...) {
        into->failed = true;
        return MHD_NO;
    }
}

// Frees what a shared answer held, once the library has sent it.
void LetGo(void* held) noexcept {
    delete static_cast<std::shared_ptr<const std::string>*>(held);
}

Response Made(HttpResponse& answer) {
    if (answer.file) {
        Response response(MHD_create_response_from_fd_at_offset64(
            answer.file->Size(), answer.file->Descriptor(), answer.file->Offset()));
        if (response) {
            answer.file->Release();  // the library's to close from now on
        }
        return response;
    }
    if (answer.shared) {
        auto held = std::make_unique<std::shared_ptr<const std::string>>(answer.shared);
        Response response(MHD_create_response_from_buffer_with_free_callback_cls(
            (*held)->size(), const_cast<char*>((*held)->data()), &LetGo, held.get()));
        if (response) {
            held.release();  // freed by LetGo
        }
        return response;
    }
    return Response(MHD_create_response_from_buffer(
        answer.body.size(), const_cast<char*>(answer.body.data()), MHD_RESPMEM_MUST_COPY));
}

}  // namespace

void StopDaemon::operator()(MHD_Daemon* daemon) const noexcept {
    MHD_stop_daemon(daemon);
}

Daemon Start(HttpDoor& door, const DaemonSettings& settings) {
    const unsigned flags =
        MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME | (settings.ipv6 ? MHD_USE_IPv6 : 0);
    return Daemon(MHD_start_daemon(
        flags, 0, &DoorCalls::Accept, &door, &DoorCalls::Answer, &door, MHD_OPTION_LISTEN_SOCKET,
        settings.listening, MHD_OPTION_CONNECTION_LIMIT, settings.connections,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, settings.connectionMemory,
        MHD_OPTION_CONNECTION_TIMEOUT, settings.idleSeconds, MHD_OPTION_NOTIFY_COMPLETED,
        &DoorCalls::Completed, &door, MHD_OPTION_NOTIFY_CONNECTION, &DoorCalls::Connected, &door,
        MHD_OPTION_END));
}

int EventsOf(MHD_Daemon* daemon) {
    return MHD_get_daemon_info(daemon, MHD_DAEMON_INFO_EPOLL_FD)->epoll_fd;
}

int WaitOf(MHD_Daemon* daemon, int most) {
    MHD_UNSIGNED_LONG_LONG wait = static_cast<MHD_UNSIGNED_LONG_LONG>(most);
    if (MHD_get_timeout(daemon, &wait) != MHD_YES ||
        wait > static_cast<MHD_UNSIGNED_LONG_LONG>(most)) {
        return most;
    }
    return static_cast<int>(wait);
}

void Run(MHD_Daemon* daemon) {
    MHD_run(daemon);
}

void Quiesce(MHD_Daemon* daemon) {
    const MHD_socket listening = MHD_quiesce_daemon(daemon);
    if (listening != MHD_INVALID_SOCKET) {
        close(listening);
    }
}

int SocketOf(MHD_Connection* connection) {
    return MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd;
}

std::string PeerOf(MHD_Connection* connection) {
    return PeerAddress(
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS)->client_addr);
}

std::size_t ReadHeaders(MHD_Connection* connection, HttpRequest& request) {
    HeaderTally tally{&request};
    MHD_get_connection_values(connection, MHD_HEADER_KIND, &Collect, &tally);
    if (tally.failed) {
        throw std::bad_alloc();
    }
    return tally.bytes;
}

bool NamesHost(MHD_Connection* connection) {
    return MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_HOST) !=
           nullptr;
}

void Suspend(MHD_Connection* connection) {
    MHD_suspend_connection(connection);
}

void Resume(MHD_Connection* connection) {
    MHD_resume_connection(connection);
}

bool Queue(MHD_Connection* connection, HttpResponse& answer, const Headers& every) {
    const Response response = Made(answer);
    if (!response) {
        return false;
    }
    for (const auto& [name, value] : every) {
        MHD_add_response_header(response.get(), name.c_str(), value.c_str());
    }
    for (const auto& [name, value] : answer.headers) {
        MHD_add_response_header(response.get(), name.c_str(), value.c_str());
    }
    return MHD_queue_response(connection, static_cast<unsigned>(answer.status), response.get()) ==
           MHD_YES;
}

}  // namespace mhd
}  // namespace server
