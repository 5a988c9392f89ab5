#pragma once

#include <string>

namespace httplib {
class Server;
}

namespace server {

class ScoreStore;
class ProvingGate;
class RateLimit;
class StaticFiles;

// The routes: the table as lines and as JSON, posting a replay, fetching one back, and the site's
// files for everything else.
class ScoreApi {
  public:
    ScoreApi(ScoreStore& store, ProvingGate& gate, RateLimit& limit, const StaticFiles& site)
        : store(store), gate(gate), limit(limit), site(site) {}

    // Puts the routes, the headers every answer carries and the answers to errors on http.
    void Install(httplib::Server& http);

  private:
    ScoreStore& store;
    ProvingGate& gate;
    RateLimit& limit;
    const StaticFiles& site;
};

}  // namespace server
