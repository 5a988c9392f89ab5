#include "server/ServiceRoutes.h"

#include "server/ClientAddress.h"
#include "server/HttpMessage.h"
#include "server/Router.h"
#include "server/ScoreStore.h"

namespace server {
namespace {

constexpr const char* kText = "text/plain; charset=utf-8";
// Prometheus's text format.
constexpr const char* kFigures = "text/plain; version=0.0.4; charset=utf-8";

}  // namespace

void ServiceRoutes::Install(Router& router) {
    // Both ask the table, which may wait: on workers, never on the thread that reads sockets.
    router.Add(
        "GET", "/healthz", false,
        [this](const HttpRequest& request, HttpResponse& response) { Health(request, response); },
        Route::Runs::kReading);
    router.Add(
        "GET", "/metrics", false,
        [this](const HttpRequest& request, HttpResponse& response) { Figures(request, response); },
        Route::Runs::kReading);
}

void ServiceRoutes::Health(const HttpRequest&, HttpResponse& response) {
    std::string error;
    response.SetHeader("Cache-Control", "no-store");
    if (!store.Count(error)) {
        response.status = 503;
        response.SetContent("the table does not answer: " + error + "\n", kText);
        return;
    }
    response.SetContent("ok\n", kText);
}

void ServiceRoutes::Figures(const HttpRequest& request, HttpResponse& response) {
    response.SetHeader("Cache-Control", "no-store");
    if (!metricsFrom.Contains(ClientAddress(request))) {
        response.status = 403;
        response.SetContent("the figures are for the host's own monitoring (--metrics-from)\n",
                            kText);
        return;
    }
    Metrics::Now now;
    if (gauges.proofsWaiting) {
        now.proofsWaiting = gauges.proofsWaiting();
    }
    if (gauges.connectionsOpen) {
        now.connectionsOpen = gauges.connectionsOpen();
    }
    std::string error;
    now.tableRows = store.Count(error);
    response.SetContent(metrics.Text(now), kFigures);
}

}  // namespace server
