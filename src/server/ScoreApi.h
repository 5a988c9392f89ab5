#pragma once

#include <string>

#include "server/HttpMessage.h"

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
    ScoreApi(ScoreStore& store, ProvingGate& gate, RateLimit& limit, StaticFiles& site)
        : store(store), gate(gate), limit(limit), site(site) {}

    // Puts the routes, and the headers every answer carries, in the table.
    void Install(Router& router);

  private:
    void Lines(const HttpRequest& request, HttpResponse& response);
    void Json(const HttpRequest& request, HttpResponse& response);
    // A post's headers: its type, its size and its sender's allowance, before its body is read.
    bool Admit(const HttpRequest& request, HttpResponse& response);
    // A post's body: checked, proven, stored, answered with the table. Runs on a worker.
    void Post(const HttpRequest& request, HttpResponse& response);
    void Replay(const HttpRequest& request, HttpResponse& response);
    // The table as the answer; false (and a refusal) when it cannot be read.
    bool Table(HttpResponse& response, bool json);

    ScoreStore& store;
    ProvingGate& gate;
    RateLimit& limit;
    StaticFiles& site;
};

}  // namespace server
