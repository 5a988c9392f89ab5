#include "net/CurlSharedTable.h"

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "net/NetRules.h"
#include "replay/Recorder.h"
#include "replay/ReplayFile.h"
#include "scores/ScoreLine.h"

namespace net {
namespace {
constexpr const char* kPostPath = "/api/scores";
constexpr const char* kRowsPath = "/api/scores.json";
constexpr const char* kReplayPath = "/api/replays/";
constexpr long kNotFound = 404;
constexpr long kNotModified = 304;
constexpr long kOk = 200;
// With nothing to do the worker still looks up now and then; the game wakes it for new work.
constexpr int kIdleMilliseconds = 60 * 1000;
}  // namespace

CurlSharedTable::CurlSharedTable(ServerUrl url, const std::string& outboxFolder)
    : url(std::move(url)), host(this->url.Host()), outbox(outboxFolder) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    multi = curl_multi_init();
    worker = std::thread(&CurlSharedTable::Run, this);
}

CurlSharedTable::~CurlSharedTable() {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    if (multi != nullptr) {
        curl_multi_wakeup(multi);
    }
    worker.join();
    // What is still under way is dropped: a post not answered stays in the outbox for the next
    // start.
    for (auto* transfer : {posting.get(), fetching.get(), fetchingReplay.get()}) {
        if (transfer != nullptr && transfer->Handle() != nullptr) {
            curl_multi_remove_handle(multi, transfer->Handle());
        }
    }
    posting.reset();
    fetching.reset();
    fetchingReplay.reset();
    if (multi != nullptr) {
        curl_multi_cleanup(multi);
    }
    curl_global_cleanup();
}

void CurlSharedTable::Send(const replay::Replay& game) {
    Game sent;
    sent.bytes = replay::Encode(game);
    sent.line = ScoreLine(static_cast<int>(game.points), game.name);
    std::string why;
    // Kept for good first: from here the game outlives a crash and reaches the table one day.
    if (!outbox.Put(sent.bytes, sent.file, why)) {
        std::fprintf(stderr,
                     "arcade-game: cannot keep the game for the shared table in %s/: %s; it is "
                     "sent from memory, and lost if the game ends before it is answered for\n",
                     outbox.Folder().c_str(), why.c_str());
        sent.file.clear();
    }
    {
        const std::lock_guard<std::mutex> lock(mutex);
        sent.sent = ++lastSent;
        post = PostReport();
        post.state = PostReport::State::Sending;
        post.line = sent.line;
        handedOver.push_back(std::move(sent));
        ++changes;
    }
    curl_multi_wakeup(multi);
}

PostReport CurlSharedTable::LastPost() const {
    const std::lock_guard<std::mutex> lock(mutex);
    return post;
}

void CurlSharedTable::AskForRows() {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        rowsWanted = true;
    }
    curl_multi_wakeup(multi);
}

TableReport CurlSharedTable::Rows() const {
    const std::lock_guard<std::mutex> lock(mutex);
    return rows;
}

void CurlSharedTable::AskForReplay(long long id) {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        replayWanted = id;
        replay = ReplayReport();
        replay.state = ReplayReport::State::Fetching;
        replay.id = id;
        ++changes;
    }
    curl_multi_wakeup(multi);
}

ReplayReport CurlSharedTable::Replay() const {
    const std::lock_guard<std::mutex> lock(mutex);
    return replay;
}

void CurlSharedTable::Run() noexcept {
    // A table that closes its end while a post is written must not end the game.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    try {
        if (multi != nullptr) {
            Work();
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "arcade-game: the shared table's worker stopped: %s\n",
                     failure.what());
    } catch (...) {
        std::fprintf(stderr, "arcade-game: the shared table's worker stopped\n");
    }
}

void CurlSharedTable::Work() {
    // The games an earlier run left unanswered go first, oldest first.
    for (const std::string& file : outbox.Waiting()) {
        games.push_back({file, std::string(), std::string(), 0});
    }
    nextPost = Clock::now();
    for (;;) {
        bool fetch = false;
        long long replayAsked = 0;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            if (stopping) {
                return;
            }
            // One replay at a time: a later ask waits for the one on its way, then is fetched.
            if (fetchingReplay == nullptr) {
                replayAsked = std::exchange(replayWanted, 0);
            }
            TakeWaitingGames();
            fetch = (rowsWanted || rowsStale) && fetching == nullptr;
            if (fetch) {
                rowsWanted = false;
                rowsStale = false;
            }
        }
        const auto now = Clock::now();
        if (posting == nullptr && !games.empty() && now >= nextPost) {
            StartPost(now);
        }
        if (fetch) {
            rowsAsked = true;
            StartFetch();
        }
        if (replayAsked != 0) {
            StartReplay(replayAsked);
        }
        int running = 0;
        curl_multi_perform(multi, &running);
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE) {
                Finished(message->easy_handle, message->data.result);
            }
        }
        curl_multi_poll(multi, nullptr, 0, WaitMilliseconds(Clock::now()), nullptr);
    }
}

// Under the lock: the games the game handed over join the queue. One that the look into the
// outbox at the start found already is the same game: it is sent once, as handed over.
void CurlSharedTable::TakeWaitingGames() {
    while (!handedOver.empty()) {
        Game game = std::move(handedOver.front());
        handedOver.pop_front();
        const auto found = std::find_if(games.begin(), games.end(), [&](const Game& waiting) {
            return !game.file.empty() && waiting.file == game.file && waiting.sent == 0;
        });
        if (found != games.end()) {
            found->sent = game.sent;
            found->line = game.line;
        } else {
            games.push_back(std::move(game));
        }
    }
}

int CurlSharedTable::WaitMilliseconds(Clock::time_point now) const {
    if (rowsStale && fetching == nullptr) {
        return 0;
    }
    if (posting != nullptr || fetching != nullptr || fetchingReplay != nullptr) {
        // libcurl wakes the poll itself when a transfer needs it.
        return kIdleMilliseconds;
    }
    if (!games.empty()) {
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextPost - now);
        return static_cast<int>(std::clamp<long long>(wait.count(), 0, kIdleMilliseconds));
    }
    return kIdleMilliseconds;
}

std::unique_ptr<Transfer> CurlSharedTable::Start(Transfer::Request request) {
    auto transfer = std::make_unique<Transfer>(std::move(request));
    if (transfer->Handle() == nullptr ||
        curl_multi_add_handle(multi, transfer->Handle()) != CURLM_OK) {
        return nullptr;
    }
    return transfer;
}

void CurlSharedTable::StartPost(Clock::time_point now) {
    Game& game = games.front();
    if (game.bytes.empty()) {
        std::string why;
        if (!outbox.Read(game.file, game.bytes, why)) {
            // Left where it is, for whoever can read it; this run sends the others.
            std::fprintf(stderr, "arcade-game: %s/%s is not sent to the shared table: %s\n",
                         outbox.Folder().c_str(), game.file.c_str(), why.c_str());
            games.pop_front();
            return;
        }
    }
    posting = Start(
        {url.At(kPostPath), game.bytes, std::string(), rules::kLargestTable, rules::kPostSeconds});
    if (posting == nullptr) {
        nextPost = now + std::chrono::seconds(BackoffSeconds(++failures));
    }
}

void CurlSharedTable::StartFetch() {
    fetching =
        Start({url.At(kRowsPath), std::string(), etag, rules::kLargestTable, rules::kReadSeconds});
    if (fetching == nullptr) {
        const std::lock_guard<std::mutex> lock(mutex);
        rows.state = TableReport::State::Unreachable;
        rows.reason = "no request could be made";
        ++changes;
    }
}

void CurlSharedTable::Finished(CURL* easy, CURLcode result) {
    curl_multi_remove_handle(multi, easy);
    if (posting != nullptr && posting->Handle() == easy) {
        PostFinished(result);
    } else if (fetching != nullptr && fetching->Handle() == easy) {
        FetchFinished(result);
    } else if (fetchingReplay != nullptr && fetchingReplay->Handle() == easy) {
        ReplayFinished(result);
    }
}

void CurlSharedTable::Publish(const Game& game, const PostReport& report) {
    const std::lock_guard<std::mutex> lock(mutex);
    if (game.sent != 0 && game.sent == lastSent) {
        post = report;
        ++changes;
    }
}

void CurlSharedTable::PostFinished(CURLcode result) {
    const std::unique_ptr<Transfer> done = std::move(posting);
    Game& game = games.front();
    // What the game sent says which version of the game played it: one left in the outbox by an
    // earlier version may be older than this one.
    replay::Replay sent;
    std::string unread;
    const bool readable = replay::Decode(game.bytes, sent, unread);
    if (game.line.empty() && readable) {
        game.line = ScoreLine(static_cast<int>(sent.points), sent.name);
    }
    Answer answer;
    std::string why;
    PostOutcome outcome;
    if (done->Finish(result, answer, why)) {
        outcome =
            ReadPostAnswer(answer, game.line, readable ? sent.gameVersion : replay::GameVersion());
    } else {
        outcome.reason = why;
    }
    const auto now = Clock::now();
    PostReport report;
    report.line = outcome.line;
    report.place = outcome.place;
    report.sentLines = outcome.sentLines;
    report.lines = outcome.lines;
    report.reason = outcome.reason;
    if (outcome.kind == PostOutcome::Kind::Later) {
        ++failures;
        const int wait = outcome.waitSeconds > 0 ? outcome.waitSeconds : BackoffSeconds(failures);
        nextPost = now + std::chrono::seconds(wait);
        if (!toldUnreachable) {
            std::fprintf(stderr,
                         "arcade-game: the shared table at %s did not take the game (%s); it is "
                         "kept in %s/ and sent again later\n",
                         host.c_str(), outcome.reason.c_str(), outbox.Folder().c_str());
            toldUnreachable = true;
        }
        report.state = PostReport::State::Waiting;
        Publish(game, report);
        return;
    }
    // Answered for, whatever the answer: never sent again.
    failures = 0;
    toldUnreachable = false;
    nextPost = now;
    if (outcome.kind == PostOutcome::Kind::Refused) {
        std::fprintf(stderr, "arcade-game: the shared table at %s refused %s: %s\n", host.c_str(),
                     game.line.empty() ? "a game" : game.line.c_str(), outcome.reason.c_str());
        report.state = PostReport::State::Refused;
    } else {
        // What left the machine, and where to, is said as it is answered for.
        std::fprintf(stderr, "arcade-game: the shared table at %s lists %s\n", host.c_str(),
                     outcome.line.empty() ? "the game" : outcome.line.c_str());
        report.state = outcome.kind == PostOutcome::Kind::Listed ? PostReport::State::Listed
                                                                 : PostReport::State::AlreadyListed;
        rowsStale = rowsAsked;
    }
    if (!game.file.empty()) {
        outbox.Remove(game.file);
    }
    Publish(game, report);
    games.pop_front();
}

void CurlSharedTable::FetchFinished(CURLcode result) {
    const std::unique_ptr<Transfer> done = std::move(fetching);
    Answer answer;
    std::string why;
    TableReport fetched;
    bool answered = done->Finish(result, answer, why);
    if (answered && answer.status == kOk) {
        if (ReadTableRows(answer.body, rules::kMostRows, fetched.rows, why)) {
            fetched.state = TableReport::State::Listed;
            etag = answer.etag;
        } else {
            why = "its table cannot be read: " + why;
        }
    } else if (answered && answer.status != kNotModified) {
        why = "it answered " + std::to_string(answer.status);
    }
    // The table answers: games waiting for it need wait no longer.
    if (answered && failures > 0) {
        nextPost = Clock::now();
    }
    const std::lock_guard<std::mutex> lock(mutex);
    if (answered && answer.status == kNotModified) {
        rows.state = TableReport::State::Listed;
    } else if (fetched.state == TableReport::State::Listed) {
        rows = std::move(fetched);
    } else {
        rows.state = TableReport::State::Unreachable;
        rows.reason = why;
    }
    ++changes;
}

void CurlSharedTable::StartReplay(long long id) {
    replayFetched = id;
    fetchingReplay = Start({url.At(kReplayPath + std::to_string(id)), std::string(), std::string(),
                            rules::kLargestReplay, rules::kReadSeconds});
    if (fetchingReplay == nullptr) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (replay.id == id) {
            replay.state = ReplayReport::State::Failed;
            replay.reason = "no request could be made";
            ++changes;
        }
    }
}

void CurlSharedTable::ReplayFinished(CURLcode result) {
    const std::unique_ptr<Transfer> done = std::move(fetchingReplay);
    Answer answer;
    std::string why;
    const bool answered = done->Finish(result, answer, why);
    if (answered && answer.status == kNotFound) {
        why = "the table keeps it no longer";
    } else if (answered && answer.status != kOk) {
        why = "it answered " + std::to_string(answer.status);
    }
    const std::lock_guard<std::mutex> lock(mutex);
    // One asked for since is fetched next, and this one is no longer wanted.
    if (replay.id != replayFetched) {
        return;
    }
    if (answered && answer.status == kOk) {
        replay.state = ReplayReport::State::Fetched;
        replay.bytes = std::move(answer.body);
    } else {
        replay.state = ReplayReport::State::Failed;
        replay.reason = why;
    }
    ++changes;
}

}  // namespace net
