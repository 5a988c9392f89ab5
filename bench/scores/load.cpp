// arcade-scores-load PORT REPLAYS SECONDS CLIENTS POSTERS ACKED: a bounded load on a score server
// at 127.0.0.1:PORT. CLIENTS threads send requests one after another for SECONDS: POSTERS of them
// post the proven replays in the folder REPLAYS (each file once, until they run out), the others
// read the table. A post may wait for the one proof that runs at a time, so POSTERS is kept within
// what the server lets wait: then no post is ever turned away as busy. Prints requests per
// second, the p50 and p99 latency of reads and of posts, and every failure; writes the names of
// the acknowledged (201) games to the file ACKED, one a line, so that they can be looked for in
// the table afterwards. A 409 is the server's answer to a play it already lists: counted apart,
// not as a failure. Exits 1 when any request failed.
//
// Each request goes on a connection of its own, written and read on a plain socket: the requests
// are few and fixed, and the server closes the connection after its answer.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kHost = "127.0.0.1";  // never anything but this machine
constexpr int kTimeoutSeconds = 30;
constexpr int kMostSeconds = 120;
constexpr int kMostClients = 200;
constexpr std::size_t kMostAnswerBytes = 1024 * 1024;  // the table of 100 lines is far less
constexpr int kConflict = 409;                         // a play the table already lists

struct Game {
    std::string name;  // the file's stem: the name typed in the game
    std::string bytes;
};

struct Tally {
    std::vector<double> readMs;
    std::vector<double> postMs;
    std::map<std::string, int> failures;  // what went wrong, how often
    std::vector<std::string> acknowledged;
    int alreadyListed = 0;
};

std::vector<Game> LoadGames(const std::string& folder) {
    std::vector<Game> games;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".replay") {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        games.push_back(
            {entry.path().stem().string(), std::string(std::istreambuf_iterator<char>(in), {})});
    }
    std::sort(games.begin(), games.end(),
              [](const Game& a, const Game& b) { return a.name < b.name; });
    return games;
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

// The status of the server's answer, or why there is none.
struct Answer {
    int status = 0;
    std::string failure;
};

class Socket {
  public:
    Socket() : fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int Fd() const { return fd; }

  private:
    int fd;
};

std::string Why(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

Answer Request(int port, const std::string& request) {
    Socket socket;
    if (socket.Fd() < 0) {
        return {0, Why("socket")};
    }
    // A server that stops answering fails the request rather than the run.
    const timeval timeout{kTimeoutSeconds, 0};
    ::setsockopt(socket.Fd(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    ::setsockopt(socket.Fd(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, kHost, &address.sin_addr);
    if (::connect(socket.Fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return {0, Why("Connect")};
    }
    for (std::size_t sent = 0; sent < request.size();) {
        const ssize_t wrote =
            ::send(socket.Fd(), request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (wrote <= 0) {
            return {0, Why("Write")};
        }
        sent += static_cast<std::size_t>(wrote);
    }
    // The whole answer, to the close, so that a request is timed until it is done.
    std::string answer;
    char chunk[16 * 1024];
    for (;;) {
        const ssize_t got = ::recv(socket.Fd(), chunk, sizeof chunk, 0);
        if (got < 0) {
            return {0, Why("Read")};
        }
        if (got == 0) {
            break;
        }
        answer.append(chunk, static_cast<std::size_t>(got));
        if (answer.size() > kMostAnswerBytes) {
            return {0, "Read: an answer beyond " + std::to_string(kMostAnswerBytes) + " bytes"};
        }
    }
    int status = 0;
    if (std::sscanf(answer.c_str(), "HTTP/1.%*1[01] %3d ", &status) != 1 ||
        answer.find("\r\n\r\n") == std::string::npos) {
        return {0, answer.empty() ? "Read: closed without an answer" : "Read: no HTTP answer"};
    }
    return {status, std::string()};
}

std::string Post(const std::string& body) {
    return "POST /api/scores HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
           "Content-Type: application/octet-stream\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

const std::string kRead =
    "GET /api/scores HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";

void Fail(Tally& tally, const std::string& what, const Answer& answer) {
    ++tally.failures[what + ": " +
                     (answer.failure.empty() ? "status " + std::to_string(answer.status)
                                             : answer.failure)];
}

double MsSince(Clock::time_point started) {
    return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
}

// One client: requests back to back until the deadline.
void Client(int port, bool posting, Clock::time_point deadline, const std::vector<Game>& games,
            std::atomic<std::size_t>& nextGame, Tally& tally) {
    while (Clock::now() < deadline) {
        if (posting) {
            const std::size_t index = nextGame++;
            if (index >= games.size()) {
                return;  // every game posted: this client is done
            }
            const std::string request = Post(games[index].bytes);
            const auto started = Clock::now();
            const Answer answer = Request(port, request);
            tally.postMs.push_back(MsSince(started));
            if (answer.status == 201) {
                tally.acknowledged.push_back(games[index].name);
            } else if (answer.status == kConflict) {
                ++tally.alreadyListed;
            } else {
                Fail(tally, "post", answer);
            }
        } else {
            const auto started = Clock::now();
            const Answer answer = Request(port, kRead);
            tally.readMs.push_back(MsSince(started));
            if (answer.status != 200) {
                Fail(tally, "read", answer);
            }
        }
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s PORT REPLAYS SECONDS CLIENTS POSTERS ACKED\n", argv[0]);
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const std::vector<Game> games = LoadGames(argv[2]);
    const int seconds = std::clamp(std::atoi(argv[3]), 1, kMostSeconds);
    const int clients = std::clamp(std::atoi(argv[4]), 1, kMostClients);
    const int posters = std::clamp(std::atoi(argv[5]), 0, clients);

    std::vector<Tally> tallies(static_cast<std::size_t>(clients));
    std::atomic<std::size_t> nextGame{0};
    const auto started = Clock::now();
    const auto deadline = started + std::chrono::seconds(seconds);
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back(Client, port, i < posters, deadline, std::cref(games),
                             std::ref(nextGame), std::ref(tallies[static_cast<std::size_t>(i)]));
    }
    for (auto& thread : threads) {
        thread.join();
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();

    Tally all;
    for (auto& tally : tallies) {
        all.readMs.insert(all.readMs.end(), tally.readMs.begin(), tally.readMs.end());
        all.postMs.insert(all.postMs.end(), tally.postMs.begin(), tally.postMs.end());
        for (const auto& [why, count] : tally.failures) {
            all.failures[why] += count;
        }
        all.acknowledged.insert(all.acknowledged.end(), tally.acknowledged.begin(),
                                tally.acknowledged.end());
        all.alreadyListed += tally.alreadyListed;
    }
    std::ofstream acked(argv[6]);
    for (const auto& name : all.acknowledged) {
        acked << name << '\n';
    }

    int failures = 0;
    for (const auto& [why, count] : all.failures) {
        failures += count;
    }
    const auto requests = all.readMs.size() + all.postMs.size();
    std::printf("  %d clients (%d posting) for %.1f s: %zu requests, %.0f per second\n", clients,
                posters, elapsed, requests, static_cast<double>(requests) / elapsed);
    const auto line = [](const char* what, const std::vector<double>& ms) {
        std::printf("  %s %6zu   p50 %7.1f ms   p99 %7.1f ms   slowest %7.1f ms", what, ms.size(),
                    Percentile(ms, 0.50), Percentile(ms, 0.99), Percentile(ms, 1));
    };
    line("reads", all.readMs);
    std::printf("\n");
    line("posts", all.postMs);
    std::printf("   (%zu acknowledged, %d already listed (409), of %zu games at hand)\n",
                all.acknowledged.size(), all.alreadyListed, games.size());
    std::printf("  errors %6d\n", failures);
    for (const auto& [why, count] : all.failures) {
        std::printf("    %s: %d\n", why.c_str(), count);
    }
    return failures == 0 ? 0 : 1;
}
