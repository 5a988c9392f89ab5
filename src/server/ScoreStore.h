#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace server {

// One proven score of the shared table: the line the list shows and the replay that proves it.
struct StoredScore {
    std::int64_t replayId = 0;
    int points = 0;
    std::string name;  // as typed in the replay
};

// A proven post, to be kept: its line, its replay, and what the prover made of its play.
struct Posted {
    int points = 0;
    std::string name;
    std::string replay;
    std::string digest;       // a hash of the replay's bytes
    std::string play;         // the prover's digest of the play; empty for none
    std::string fingerprint;  // the play's fingerprint (replay::PlayFingerprint); empty for none
};

// Where the shared table lives: a single SQLite file on one machine, or a PostgreSQL database that
// several servers share. Every call may come from any of the server's threads at once.
class ScoreStore {
  public:
    virtual ~ScoreStore() = default;

    // Keeps a proven score and its replay in one transaction, durable before this returns: a score
    // acknowledged to a player outlives a killed server or database. One game is one line: a
    // replay kept before (the same digest) is not added again, and its id comes back with fresh
    // false; nor is the same play under other bytes or another name, nor a play that copies a
    // kept one (their fingerprints agree: replay::Copies): sameGame, with the line kept. An empty
    // play or fingerprint matches none. Nothing when the store failed (error says why).
    struct Added {
        std::int64_t replayId = 0;
        bool fresh = true;
        bool sameGame = false;  // the kept line's game in other bytes: its very play, or a copy
        bool copy = false;      // of those, a copy: a play that follows the kept one's
        StoredScore kept;       // the line kept, when not fresh
    };
    virtual std::optional<Added> Add(const Posted& post, std::string& error) = 0;
    // The kept line whose play a fingerprint copies, as Add finds it, without adding anything:
    // nothing when none does (or the store failed: error is then set).
    virtual std::optional<StoredScore> Copied(const std::string& fingerprint,
                                              std::string& error) = 0;
    // Every score, oldest first.
    virtual std::optional<std::vector<StoredScore>> All(std::string& error) = 0;
    // The most highest scores, in the list's order: more points first, equal points in the order
    // they were listed. Read through an index, so that a list asked for by every visitor costs the
    // same whatever the table has grown to.
    virtual std::optional<std::vector<StoredScore>> Best(std::size_t most, std::string& error) = 0;
    // The replay kept with a score, byte for byte; nothing when there is no such id (or the store
    // failed: error is then set).
    virtual std::optional<std::string> Replay(std::int64_t id, std::string& error) = 0;
    // How many lines the table holds, as a host watches it grow.
    virtual std::optional<std::size_t> Count(std::string& error) = 0;

    // Lines an older server kept without a fingerprint, after the id given, oldest first, at most
    // most of them: their ids and replays, to be proven again.
    struct UnprintedLine {
        std::int64_t replayId = 0;
        std::string replay;
    };
    virtual std::optional<std::vector<UnprintedLine>> Unprinted(std::int64_t after,
                                                                std::size_t most,
                                                                std::string& error) = 0;
    // Keeps, in one transaction, what proving lines' replays again made of their plays: each one's
    // fingerprint (empty when it no longer proves, so that it is not tried again), and its play's
    // digest where the line has none and no other line has this one.
    struct Reproven {
        std::int64_t replayId = 0;
        std::string play;
        std::string fingerprint;
    };
    virtual bool SetPrints(const std::vector<Reproven>& lines, std::string& error) = 0;
};

// Opens the store a --db option names: "sqlite:PATH" or "postgresql://...". Nothing, with error
// set, when the name is neither or the store cannot be opened.
std::unique_ptr<ScoreStore> OpenStore(const std::string& name, std::string& error);

// The steps of Add, which both stores take alike inside one transaction of their own: each asks
// its database through these, which throw when it fails.
class Keeping {
  public:
    struct Candidate {
        StoredScore line;
        std::string fingerprint;
    };
    virtual ~Keeping() = default;
    // The line kept with this digest, else the one with this play (TableSql::kept); sameBytes
    // says which.
    virtual std::optional<StoredScore> Kept(const Posted& post, bool& sameBytes) = 0;
    // The lines sharing the most of these marks (a JSON array), with their fingerprints.
    virtual std::vector<Candidate> Sharing(const std::string& marks) = 0;
    // The new line's id.
    virtual std::int64_t Insert(const Posted& post) = 0;
    virtual void Mark(std::int64_t id, const std::string& marks) = 0;
};
ScoreStore::Added Keep(Keeping& database, const Posted& post);
// The kept line a fingerprint copies, of those sharing its marks: the one it agrees with most,
// the earliest listed of equals.
std::optional<StoredScore> CopiedFrom(Keeping& database, const std::string& fingerprint);
// A fingerprint's marks (replay::Marks) as the JSON array the statements read.
std::string MarksOf(const std::string& fingerprint);

}  // namespace server
