// arcade-scores-load PORT REPLAYS SECONDS CLIENTS POSTERS ACKED: a bounded load on a score server
// at 127.0.0.1:PORT. CLIENTS threads send requests one after another for SECONDS: POSTERS of them
// post the proven replays in the folder REPLAYS (each file once, until they run out), the others
// read the table. A post may wait for the one proof that runs at a time, so POSTERS is kept within
// what the server lets wait: then no post is ever turned away as busy. Prints requests per
// second, the p50 and p99 latency of reads and of posts, and every failure; writes the names of
// the acknowledged (201) games to the file ACKED, one a line, so that they can be looked for in
// the table afterwards. Exits 1 when any request failed.
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
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

struct Game {
    std::string name;  // the file's stem: the name typed in the game
    std::string bytes;
};

struct Tally {
    std::vector<double> readMs;
    std::vector<double> postMs;
    std::map<std::string, int> failures;  // what went wrong, how often
    std::vector<std::string> acknowledged;
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

void Fail(Tally& tally, const std::string& what, const httplib::Result& result) {
    std::string why = what + ": ";
    why += result ? "status " + std::to_string(result->status) : httplib::to_string(result.error());
    ++tally.failures[why];
}

// One client: requests back to back until the deadline, each on a connection of its own.
void Client(int port, bool posting, Clock::time_point deadline, const std::vector<Game>& games,
            std::atomic<std::size_t>& nextGame, Tally& tally) {
    while (Clock::now() < deadline) {
        httplib::Client client(kHost, port);
        client.set_connection_timeout(kTimeoutSeconds);
        client.set_read_timeout(kTimeoutSeconds);
        client.set_write_timeout(kTimeoutSeconds);
        if (posting) {
            const std::size_t index = nextGame++;
            if (index >= games.size()) {
                return;  // every game posted: this client is done
            }
            const auto started = Clock::now();
            const auto result =
                client.Post("/api/scores", games[index].bytes, "application/octet-stream");
            tally.postMs.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - started).count());
            if (result && result->status == 201) {
                tally.acknowledged.push_back(games[index].name);
            } else {
                Fail(tally, "post", result);
            }
        } else {
            const auto started = Clock::now();
            const auto result = client.Get("/api/scores");
            tally.readMs.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - started).count());
            if (!result || result->status != 200) {
                Fail(tally, "read", result);
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
    std::printf("   (%zu acknowledged of %zu games at hand)\n", all.acknowledged.size(),
                games.size());
    std::printf("  errors %6d\n", failures);
    for (const auto& [why, count] : all.failures) {
        std::printf("    %s: %d\n", why.c_str(), count);
    }
    return failures == 0 ? 0 : 1;
}
