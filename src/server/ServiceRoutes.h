#pragma once

#include <cstddef>
#include <functional>

#include "server/AddressList.h"
#include "server/Metrics.h"

namespace server {

class Router;
class ScoreStore;
struct HttpRequest;
struct HttpResponse;

// What a host watches: GET /healthz (200 while the table answers, 503 with the reason when not,
// for a load balancer or the service manager) and GET /metrics (the figures, to the addresses
// the host allows only; 403 to anyone else).
class ServiceRoutes {
  public:
    // What the figures show of the server as it stands, asked at each GET /metrics.
    struct Gauges {
        std::function<std::size_t()> proofsWaiting;
        std::function<std::size_t()> connectionsOpen;
    };

    ServiceRoutes(ScoreStore& store, const Metrics& metrics, AddressList metricsFrom)
        : store(store), metrics(metrics), metricsFrom(std::move(metricsFrom)) {}

    // Before the routes that take every other path.
    void Install(Router& router);
    // Before the first GET /metrics.
    void Watch(Gauges gauges) { this->gauges = std::move(gauges); }

  private:
    void Health(const HttpRequest& request, HttpResponse& response);
    void Figures(const HttpRequest& request, HttpResponse& response);

    ScoreStore& store;
    const Metrics& metrics;
    const AddressList metricsFrom;
    Gauges gauges;
};

}  // namespace server
