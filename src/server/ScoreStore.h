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

// Where the shared table lives: a single SQLite file on one machine, or a PostgreSQL database that
// several servers share. Every call may come from any of the server's threads at once.
class ScoreStore {
  public:
    virtual ~ScoreStore() = default;

    // Keeps a proven score and its replay in one transaction, durable before this returns: a score
    // acknowledged to a player outlives a killed server or database. One game is one line: a
    // replay kept before (the same digest, a hash of its bytes) is not added again, and its id
    // comes back with fresh false; nor is the same play (play, the prover's digest of the game
    // as it went, frame by frame) under other bytes or another name: sameGame, with the line
    // kept. An empty play matches none. Nothing when the store failed (error says why).
    struct Added {
        std::int64_t replayId = 0;
        bool fresh = true;
        bool sameGame = false;  // the same play as the kept line, in other bytes
        StoredScore kept;       // the line kept, when not fresh
    };
    virtual std::optional<Added> Add(int points, const std::string& name, const std::string& replay,
                                     const std::string& digest, const std::string& play,
                                     std::string& error) = 0;
    std::optional<Added> Add(int points, const std::string& name, const std::string& replay,
                             const std::string& digest, std::string& error) {
        return Add(points, name, replay, digest, std::string(), error);
    }
    // Every score, oldest first.
    virtual std::optional<std::vector<StoredScore>> All(std::string& error) = 0;
    // The most highest scores, as the list has them: more points first, equal points by the
    // name's bytes, highest first, and the same line oldest first. Read through an index, so that
    // a list asked for by every visitor costs the same whatever the table has grown to.
    virtual std::optional<std::vector<StoredScore>> Best(std::size_t most, std::string& error) = 0;
    // The replay kept with a score, byte for byte; nothing when there is no such id (or the store
    // failed: error is then set).
    virtual std::optional<std::string> Replay(std::int64_t id, std::string& error) = 0;
    // How many lines the table holds, as a host watches it grow: counted by the database where
    // a store can ask it; nothing when the store failed.
    virtual std::optional<std::size_t> Count(std::string& error) {
        const auto all = All(error);
        return all ? std::optional<std::size_t>(all->size()) : std::nullopt;
    }
};

// Opens the store a --db option names: "sqlite:PATH" or "postgresql://...". Nothing, with error
// set, when the name is neither or the store cannot be opened.
std::unique_ptr<ScoreStore> OpenStore(const std::string& name, std::string& error);

}  // namespace server
