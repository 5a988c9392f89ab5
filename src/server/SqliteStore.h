#pragma once

#include <sqlite3.h>

#include <memory>
#include <mutex>
#include <string>

#include "server/ScoreStore.h"

namespace server {

struct SqliteClose {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqlitePtr = std::unique_ptr<sqlite3, SqliteClose>;

// The table in one SQLite file. Every commit is on the disk before it returns (a write-ahead
// journal, synced in full), so a score acknowledged to a player outlives a killed server. Writes
// go through one connection and reads through another, each used by one thread at a time;
// the journal lets a read go on while a score is being written.
class SqliteStore : public ScoreStore {
  public:
    // Nothing, with error set, when the file cannot be opened or made into a table.
    static std::unique_ptr<SqliteStore> Open(const std::string& path, std::string& error);

    using ScoreStore::Add;
    std::optional<Added> Add(int points, const std::string& name, const std::string& replay,
                             const std::string& digest, const std::string& play,
                             std::string& error) override;
    std::optional<std::vector<StoredScore>> All(std::string& error) override;
    std::optional<std::vector<StoredScore>> Best(std::size_t most, std::string& error) override;
    std::optional<std::string> Replay(std::int64_t id, std::string& error) override;
    std::optional<std::size_t> Count(std::string& error) override;
    // How the writer syncs its commits, as the database itself reports it (PRAGMA synchronous:
    // 2 is FULL); -1 when it cannot say.
    int Synchronous();

  private:
    SqliteStore(SqlitePtr writer, SqlitePtr reader)
        : writer(std::move(writer)), reader(std::move(reader)) {}

    // The scores a query gives, its one parameter (if any) the limit.
    std::optional<std::vector<StoredScore>> Scores(const char* sql,
                                                   std::optional<sqlite3_int64> limit,
                                                   std::string& error);

    std::mutex writing;
    SqlitePtr writer;
    std::mutex reading;
    SqlitePtr reader;
};

}  // namespace server
