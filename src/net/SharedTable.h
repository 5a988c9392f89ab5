#pragma once

#include <memory>
#include <string>
#include <vector>

#include "net/Answers.h"
#include "replay/Replay.h"

namespace net {

// How the last game sent in this run fares, for the list after it.
struct PostReport {
    enum class State {
        None,           // no game sent in this run
        Sending,        // kept in the outbox, on its way
        Listed,         // the table lists it as line, at place of lines (0: not said)
        AlreadyListed,  // the same game was listed already, as line
        Refused,        // never to be listed: reason
        Waiting,        // the table did not answer for it yet; it is sent again later (reason)
    };
    State state = State::None;
    std::string line;
    int place = 0;  // from 1; 0 when below the sentLines the table sent back
    int sentLines = 0;
    long lines = 0;  // of the whole table; 0 when it did not say
    std::string reason;
};

// The shared table's rows as last fetched.
struct TableReport {
    enum class State { Loading, Listed, Unreachable };
    State state = State::Loading;
    std::vector<TableRow> rows;  // kept from the last fetch while a later one fails
    std::string reason;          // Unreachable: why
};

// A game of the table, fetched to be watched.
struct ReplayReport {
    enum class State { None, Fetching, Fetched, Failed };
    State state = State::None;
    long long id = 0;    // the row it was asked for by
    std::string bytes;   // Fetched: the replay as the table keeps it
    std::string reason;  // Failed: why
};

// The table of everyone's games that the player named (--scores-server, or scores_server in the
// settings). Every request runs in the background: these calls only hand work over or copy what
// came back, and never wait on the network. Without a table named the game has none of it, and
// opens no connection at all.
class SharedTable {
  public:
    virtual ~SharedTable() = default;

    // The table as the player is told of it: "scores.example.org".
    virtual const std::string& Host() const = 0;
    // A game whose score was just stored: kept in the outbox for good, then sent.
    virtual void Send(const replay::Replay& game) = 0;
    virtual PostReport LastPost() const = 0;
    // Fetches the table's rows again (asking whether they changed, once the table says how).
    virtual void AskForRows() = 0;
    virtual TableReport Rows() const = 0;
    // Fetches the replay of the row with this id (GET /api/replays/ID), in place of any asked for
    // before.
    virtual void AskForReplay(long long id) = 0;
    virtual ReplayReport Replay() const = 0;
    // A count that moves whenever a report changes: what a screen shows needs making again only
    // then.
    virtual unsigned Changes() const = 0;
};

// The table at url, or nothing where this build of the game has no network (each said on
// standard error). Only the game's program opens one; the server, the tests and the tools, which
// never do, need no libcurl.
std::unique_ptr<SharedTable> OpenSharedTable(const std::string& url);

}  // namespace net
