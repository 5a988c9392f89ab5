#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/ScoreStore.h"

namespace server {

struct HttpRequest;
struct HttpResponse;

// The table as GET /api/scores and /api/scores.json give it: rendered once for each change and
// shared by every answer until the next, with a tag (ETag) and the time it last changed, so that
// a client or proxy holding it is told 304 rather than sent it again. The rows are read again
// at most every freshFor (another server on the same database may have stored a game), and at
// once after a post stored here.
class TableCache {
  public:
    using Clock = std::chrono::steady_clock;

    TableCache(ScoreStore& store, Clock::duration freshFor) : store(store), freshFor(freshFor) {}

    // Answers from the table read a moment ago, on any thread without waiting; false when it
    // must be read again first (Answer, on a worker).
    bool Quick(const HttpRequest& request, HttpResponse& response, bool json);
    // Reads the table unless it is fresh, and answers; a refusal when it cannot be read.
    void Answer(const HttpRequest& request, HttpResponse& response, bool json);
    // A post was stored: the next reader reads the table again.
    void Changed();

  private:
    struct Rendering {
        std::vector<StoredScore> rows;
        std::shared_ptr<const std::string> lines;
        std::shared_ptr<const std::string> json;
        std::string linesTag;
        std::string jsonTag;
        std::string modified;  // as an HTTP date
        Clock::time_point read;
    };
    std::shared_ptr<const Rendering> Fresh(Clock::time_point now);
    static void Give(const Rendering& rendering, const HttpRequest& request, HttpResponse& response,
                     bool json);

    ScoreStore& store;
    const Clock::duration freshFor;
    std::mutex lock;
    std::shared_ptr<const Rendering> current;
    bool stale = true;
};

}  // namespace server
