#pragma once

#include <functional>
#include <string>
#include <vector>

#include "server/HttpMessage.h"

namespace server {

using Handler = std::function<void(const HttpRequest&, HttpResponse&)>;
// True to read the body; false, with the refusal in the response, to answer at once.
using Admission = std::function<bool(const HttpRequest&, HttpResponse&)>;
// True with the answer made at once, without waiting for anything; false to answer as the route
// runs.
using Quick = std::function<bool(const HttpRequest&, HttpResponse&)>;
// Starts an answer that is made elsewhere (a proof on the proving pool): done is called once,
// from any thread, when the response is made. It must not throw.
using Later = std::function<void(const HttpRequest&, HttpResponse&, std::function<void()> done)>;

// One line of the route table: which requests it takes and who answers them.
struct Route {
    std::string method;  // GET routes answer HEAD too
    std::string path;    // the whole path, or its start when prefix
    bool prefix = false;
    // The answer, once the request is in whole.
    Handler answer;
    // Set only for a route that takes a body (no other route reads one): looks at the headers
    // before any of the body is read, and may refuse it unread.
    Admission admit;
    // Tried first, on the thread that reads the sockets: an answer at hand (a table read a
    // moment ago) needs no worker.
    Quick quick;
    // For kLater: starts the answer on the thread that reads the sockets, and hands it on.
    Later later;
    // Where the answer is made: on the thread that reads the sockets only when it is quick and
    // never waits; anything that may wait for the database or a file runs on the reading
    // workers, a post is handed to the proving pool (later), whose completion answers it.
    enum class Runs { kHere, kReading, kLater } runs = Runs::kHere;
};

// The routes in the order given: the first whose method and path match takes a request.
class Router {
  public:
    void Add(Route route) { routes.push_back(std::move(route)); }
    // A route that reads no body.
    void Add(std::string method, std::string path, bool prefix, Handler answer,
             Route::Runs runs = Route::Runs::kHere) {
        Route route;
        route.method = std::move(method);
        route.path = std::move(path);
        route.prefix = prefix;
        route.answer = std::move(answer);
        route.runs = runs;
        Add(std::move(route));
    }
    // A header every answer carries, refusals included.
    void AddHeader(std::string name, std::string value) {
        everyAnswer.emplace_back(std::move(name), std::move(value));
    }
    const std::vector<std::pair<std::string, std::string>>& Headers() const { return everyAnswer; }

    // The route for a request; nothing when none matches. pathMatched tells a path known under
    // another method (405) from one not known at all (404).
    const Route* Find(const std::string& method, const std::string& path, bool& pathMatched) const;

  private:
    std::vector<Route> routes;
    std::vector<std::pair<std::string, std::string>> everyAnswer;
};

}  // namespace server
