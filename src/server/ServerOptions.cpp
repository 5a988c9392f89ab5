#include "server/ServerOptions.h"

#include <cstdlib>

namespace server {
namespace {

constexpr int kHighestPort = 65535;
constexpr int kMostPostsPerMinute = 1000000;
constexpr int kMostConnections = 1000000;

bool Number(const std::string& text, int least, int most, int& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 9) {
        return false;
    }
    value = std::atoi(text.c_str());
    return value >= least && value <= most;
}

}  // namespace

bool ParseServerOptions(int argc, const char* const argv[], ServerOptions& options,
                        std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            options.help = true;
            continue;
        }
        if (word == "--version") {
            options.version = true;
            continue;
        }
        std::string value;
        const auto equals = word.find('=');
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
            word.resize(equals);
        }
        if (word != "--port" && word != "--bind" && word != "--site" && word != "--db" &&
            word != "--posts-per-minute" && word != "--connections" &&
            word != "--connections-per-address" && word != "--trust-proxy" &&
            word != "--metrics-from" && word != "--backup") {
            error = "unknown option \"" + word + "\" (--help lists them)";
            return false;
        }
        if (equals == std::string::npos) {
            if (i + 1 == argc) {
                error = word + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (word == "--port") {
            if (!Number(value, 0, kHighestPort, options.port)) {
                error = "--port takes a number from 0 to 65535, not \"" + value + "\"";
                return false;
            }
        } else if (word == "--bind") {
            if (value.empty()) {
                error = "--bind takes an address, such as 127.0.0.1 or 0.0.0.0";
                return false;
            }
            options.bind = value;
        } else if (word == "--site") {
            options.site = value;
        } else if (word == "--db") {
            options.db = value;
        } else if (word == "--trust-proxy" || word == "--metrics-from") {
            std::string bad;
            if (!(word == "--trust-proxy" ? options.trustProxy : options.metricsFrom)
                     .Parse(value, bad)) {
                error = word + " takes addresses separated by commas: " + bad;
                return false;
            }
        } else if (word == "--backup") {
            if (value.empty()) {
                error = "--backup takes the file to copy the table into";
                return false;
            }
            options.backup = value;
        } else if (word == "--connections") {
            if (!Number(value, 1, kMostConnections, options.connections)) {
                error = "--connections takes a number from 1 to 1000000, not \"" + value + "\"";
                return false;
            }
        } else if (word == "--connections-per-address") {
            if (!Number(value, 1, kMostConnections, options.connectionsPerAddress)) {
                error = "--connections-per-address takes a number from 1 to 1000000, not \"" +
                        value + "\"";
                return false;
            }
        } else if (!Number(value, 1, kMostPostsPerMinute, options.postsPerMinute)) {
            error = "--posts-per-minute takes a number from 1 to 1000000, not \"" + value + "\"";
            return false;
        }
    }
    return true;
}

const char* ServerUsage() {
    return "usage: arcade-scores [OPTION]...\n"
           "Serves the browser game and one high-score table for all its players; a score\n"
           "goes in only when its replay proves it.\n"
           "\n"
           "  --port N                 listen on port N (8000; 0 picks a free one)\n"
           "  --bind ADDRESS           listen on this address (127.0.0.1: this machine only)\n"
           "  --site DIR               serve the browser build's folder too\n"
           "  --db sqlite:PATH         keep the table in this SQLite file\n"
           "                           (sqlite:arcade-scores.sqlite in the working folder)\n"
           "  --db postgresql://...    keep it in PostgreSQL, shared by several servers\n"
           "  --posts-per-minute N     scores one address may post a minute (10)\n"
           "  --connections N          connections open at once, from everyone (4096)\n"
           "  --connections-per-address N\n"
           "                           connections open at once from one address (32)\n"
           "  --trust-proxy ADDRESS,...\n"
           "                           proxies in front whose X-Forwarded-For names the player\n"
           "                           (none: the address that connects is the player's)\n"
           "  --metrics-from ADDRESS,...\n"
           "                           who may read GET /metrics (127.0.0.1,::1)\n"
           "  --backup FILE            copy the --db sqlite: table into FILE while servers\n"
           "                           write to it, and end\n"
           "  --help, --version\n"
           "\n"
           "API: GET /api/scores (the list, as the game's lines), GET /api/scores.json,\n"
           "POST /api/scores (a replay, application/octet-stream), GET /api/replays/ID;\n"
           "GET /healthz (200 while the table answers), GET /metrics (Prometheus's format).\n";
}

}  // namespace server
