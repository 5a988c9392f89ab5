#pragma once

#include <functional>
#include <string>

#include "playback/Prover.h"
#include "replay/Replay.h"
#include "server/HttpMessage.h"
#include "server/TableCache.h"

namespace server {

class ScoreStore;
class ProvingGate;
class RateLimit;
class Router;
class StaticFiles;

// The routes: the table as lines and as JSON, posting a replay, fetching one back, and the site's
// files for everything else.
class ScoreApi {
  public:
    ScoreApi(ScoreStore& store, ProvingGate& gate, RateLimit& limit, StaticFiles& site);

    // Puts the routes, and the headers every answer carries, in the table.
    void Install(Router& router);

  private:
    // A post's headers: its type, its size and its sender's allowance, before its body is read.
    bool Admit(const HttpRequest& request, HttpResponse& response);
    // A post's body: checked, then handed to the gate, whose worker proves it, stores it and
    // answers with the table (done).
    void Post(const HttpRequest& request, HttpResponse& response, std::function<void()> done);
    void Store(const HttpRequest& request, HttpResponse& response, const replay::Replay& game,
               const replay::Verdict& verdict, double proofSeconds);
    void Replay(const HttpRequest& request, HttpResponse& response);
    // The table as the answer to a post; false (and a refusal) when it cannot be read.
    bool Table(HttpResponse& response);

    ScoreStore& store;
    ProvingGate& gate;
    RateLimit& limit;
    StaticFiles& site;
    TableCache table;
};

}  // namespace server
