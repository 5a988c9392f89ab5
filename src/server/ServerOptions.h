#pragma once

#include <string>

#include "server/AddressList.h"
#include "server/ServerLimits.h"

namespace server {

// What arcade-scores was asked for on its command line.
struct ServerOptions {
    bool help = false;
    bool version = false;
    int port = limits::kDefaultPort;  // 0: any free port, named when listening
    std::string bind = "127.0.0.1";
    std::string site;  // empty: the API alone
    std::string db = "sqlite:arcade-scores.sqlite";
    int postsPerMinute = limits::kDefaultPostsPerMinute;
    int connections = limits::kDefaultConnections;
    int connectionsPerAddress = limits::kDefaultConnectionsPerAddress;
    // Proxies whose X-Forwarded-For names the player; empty: none.
    AddressList trustProxy;
    // Who may read GET /metrics.
    AddressList metricsFrom = AddressList::Of("127.0.0.1,::1");
    std::string backup;  // set: copy the --db table into this file, and serve nothing
};

// Reads argv (--name VALUE or --name=VALUE). False, with one line in error, on an unknown word
// or a bad value.
bool ParseServerOptions(int argc, const char* const argv[], ServerOptions& options,
                        std::string& error);

const char* ServerUsage();

}  // namespace server
