#pragma once

#include <sqlite3.h>

#include <memory>
#include <mutex>
#include <string>

#include "server/ConnectionPool.h"
#include "server/ScoreStore.h"
#include "server/ServerLimits.h"
#include "server/TableSql.h"

namespace server {

struct SqliteClose {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqlitePtr = std::unique_ptr<sqlite3, SqliteClose>;

// The table in one SQLite file. Every commit is on the disk before it returns (a write-ahead
// journal, synced in full), so a score acknowledged to a player outlives a killed server. Writes
// go through one connection; each thread that reads borrows a connection of its own, so reads go
// on side by side, and while a score is being written.
class SqliteStore : public ScoreStore {
  public:
    // Nothing, with error set, when the file cannot be opened or made into a table. At most
    // `readers` threads read at once.
    static std::unique_ptr<SqliteStore> Open(const std::string& path, std::string& error,
                                             std::size_t readers = limits::kStoreConnections);

    std::optional<Added> Add(const Posted& post, std::string& error) override;
    std::optional<StoredScore> Copied(const std::string& fingerprint, std::string& error) override;
    std::optional<std::vector<StoredScore>> All(std::string& error) override;
    std::optional<std::vector<StoredScore>> Best(std::size_t most, std::string& error) override;
    std::optional<std::string> Replay(std::int64_t id, std::string& error) override;
    std::optional<std::size_t> Count(std::string& error) override;
    std::optional<std::vector<UnprintedLine>> Unprinted(std::int64_t after, std::size_t most,
                                                        std::string& error) override;
    bool SetPrints(const std::vector<Reproven>& lines, std::string& error) override;
    // How the writer syncs its commits, as the database itself reports it (PRAGMA synchronous:
    // 2 is FULL); -1 when it cannot say.
    int Synchronous();

  private:
    SqliteStore(std::string path, SqlitePtr writer, std::size_t readers)
        : path(std::move(path)), writer(std::move(writer)), readers(readers) {}

    // Runs read(connection) on a reading connection of the caller's own; false, with error set,
    // when the database failed it.
    template <typename Read>
    bool Reading(Read read, std::string& error);
    // The same on the writing connection, inside one transaction that holds the database's write
    // lock from its start.
    template <typename Write>
    bool Writing(Write write, std::string& error);
    std::optional<std::vector<StoredScore>> Scores(const std::string& sql,
                                                   std::optional<sqlite3_int64> limit,
                                                   std::string& error);

    const TableSql sql{kSqliteDialect};
    const std::string path;
    std::mutex writing;
    SqlitePtr writer;
    ConnectionPool<sqlite3, SqliteClose> readers;
};

}  // namespace server
