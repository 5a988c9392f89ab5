#pragma once

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "net/Outbox.h"
#include "net/ServerUrl.h"
#include "net/SharedTable.h"
#include "net/Transfer.h"

namespace net {

// The shared table over libcurl. One worker thread makes every request, at most one post and one
// fetch of the rows at a time, each bounded in time, and hands what comes back to the game's loop
// as data under a lock that is held only to copy it. The worker waits in libcurl's poll, which
// the game wakes to hand over work or to end it: ending takes no longer than the worker's current
// step, however the table answers or does not.
class CurlSharedTable : public SharedTable {
  public:
    // outboxFolder: where the games to send are kept (relative to the working folder).
    CurlSharedTable(ServerUrl url, const std::string& outboxFolder);
    ~CurlSharedTable() override;
    CurlSharedTable(const CurlSharedTable&) = delete;
    CurlSharedTable& operator=(const CurlSharedTable&) = delete;

    const std::string& Host() const override { return host; }
    void Send(const replay::Replay& game) override;
    PostReport LastPost() const override;
    void AskForRows() override;
    TableReport Rows() const override;
    void AskForReplay(long long id) override;
    ReplayReport Replay() const override;
    unsigned Changes() const override { return changes.load(); }

  private:
    using Clock = std::chrono::steady_clock;
    // A game to send: its file in the outbox (none when it could not be kept there), its bytes
    // once read, the line it is stored under, and which Send it came from (0: an earlier run's).
    struct Game {
        std::string file;
        std::string bytes;
        std::string line;
        std::uint64_t sent = 0;
    };

    void Run() noexcept;
    void Work();
    void TakeWaitingGames();
    void StartPost(Clock::time_point now);
    void StartFetch();
    void Finished(CURL* easy, CURLcode result);
    void PostFinished(CURLcode result);
    void FetchFinished(CURLcode result);
    void StartReplay(long long id);
    void ReplayFinished(CURLcode result);
    int WaitMilliseconds(Clock::time_point now) const;
    void Publish(const Game& game, const PostReport& report);
    std::unique_ptr<Transfer> Start(Transfer::Request request);

    const ServerUrl url;
    const std::string host;
    Outbox outbox;

    // Between the game's thread and the worker, under mutex.
    mutable std::mutex mutex;
    std::deque<Game> handedOver;
    bool rowsWanted = false;
    long long replayWanted = 0;  // the row whose replay is asked for; 0 for none
    bool stopping = false;
    std::uint64_t lastSent = 0;
    PostReport post;
    TableReport rows;
    ReplayReport replay;
    std::atomic<unsigned> changes{0};

    // The worker's own.
    CURLM* multi = nullptr;
    std::deque<Game> games;
    Clock::time_point nextPost;
    int failures = 0;
    bool toldUnreachable = false;
    bool rowsAsked = false;  // once asked for, the rows follow every game listed
    bool rowsStale = false;  // a game was listed since they were fetched
    std::unique_ptr<Transfer> posting;
    std::unique_ptr<Transfer> fetching;
    std::unique_ptr<Transfer> fetchingReplay;
    long long replayFetched = 0;  // the row whose replay is on its way
    std::string etag;

    std::thread worker;  // last: it starts once everything above is made
};

}  // namespace net
