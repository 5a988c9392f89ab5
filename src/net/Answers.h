#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace net {

// What the table answered to one request, as the worker read it off the wire.
struct Answer {
    long status = 0;
    std::string body;
    std::string retryAfter;   // the Retry-After header, as sent
    std::string gameVersion;  // Game-Version: the version of the game the table proves with
    std::string tableLines;   // Table-Lines: how many lines the table holds after a post
    std::string etag;
};

// What became of a post, as data for the list and the outbox.
struct PostOutcome {
    enum class Kind {
        Listed,         // 201 or 200: the table lists it
        AlreadyListed,  // 409: the same game is listed already, under line
        Refused,        // 400, 413, 415, 422: never to be sent again; reason says why
        Later,          // 429, 503, or any other answer: to be sent again after waitSeconds
    };
    Kind kind = Kind::Later;
    std::string line;     // Listed and AlreadyListed: the line the table lists it under
    int place = 0;        // Listed: its place in the table from 1; 0 when below the lines sent
    int sentLines = 0;    // Listed: the lines of the table the answer sent
    long lines = 0;       // Listed: the lines of the whole table; 0 when not said
    std::string reason;   // Refused and Later: why, in the table's words (one line)
    int waitSeconds = 0;  // Later: as the table asked (Retry-After); 0 when it did not
};

// Reads the answer to the post of the game that the list shows as postedLine, played by version
// playedBy of the game: a refusal from a table that proves with another says which version it
// runs.
PostOutcome ReadPostAnswer(const Answer& answer, const std::string& postedLine,
                           const std::string& playedBy);

// The seconds a Retry-After asks for, kept within reason; nothing when it says none.
std::optional<int> RetryAfterSeconds(const std::string& header);

// The wait before the next try after this many failures in a row (1 for the first).
int BackoffSeconds(int failures);

// One row of the shared table as GET /api/scores.json lists it.
struct TableRow {
    long long id = 0;
    int points = 0;
    std::string name;
};

// Reads the table's rows ([{"id":N,"points":N,"name":"..."}, ...]), at most most of them; false,
// with why, for anything else.
bool ReadTableRows(const std::string& json, std::size_t most, std::vector<TableRow>& rows,
                   std::string& why);

}  // namespace net
