#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <pqxx/connection>
#include <string>
#include <utility>
#include <vector>

#include "server/ConnectionPool.h"
#include "server/ScoreStore.h"
#include "server/TableSql.h"

namespace server {

// The shared table in a PostgreSQL database, for several servers that serve one list. Each call
// borrows a connection from a small pool of its own; a connection the database dropped (it was
// restarted, say) is thrown away and the call tried once more on a new one.
class PostgresStore : public ScoreStore {
  public:
    // How many connections one server holds at most; a call that finds them all busy waits.
    static constexpr std::size_t kDefaultConnections = 8;

    // Connects to the database a postgresql:// URL names and makes the table if it is missing.
    // Nothing, with error set, when the database cannot be reached or refuses.
    static std::unique_ptr<PostgresStore> Open(const std::string& url, std::string& error,
                                               std::size_t connections = kDefaultConnections);
    ~PostgresStore() override;

    std::optional<Added> Add(const Posted& post, std::string& error) override;
    std::optional<StoredScore> Copied(const std::string& fingerprint, std::string& error) override;
    std::optional<std::vector<StoredScore>> All(std::string& error) override;
    std::optional<std::vector<StoredScore>> Best(std::size_t most, std::string& error) override;
    std::optional<std::size_t> Count(std::string& error) override;
    std::optional<std::string> Replay(std::int64_t id, std::string& error) override;
    std::optional<std::vector<UnprintedLine>> Unprinted(std::int64_t after, std::size_t most,
                                                        std::string& error) override;
    bool SetPrints(const std::vector<Reproven>& lines, std::string& error) override;

  private:
    PostgresStore(std::string url, std::size_t connections);

    // Runs work(connection) on a borrowed connection and gives back what it returns; nothing,
    // with error set, when the database failed it.
    template <typename Work>
    auto WithConnection(Work work, std::string& error)
        -> std::optional<decltype(work(std::declval<pqxx::connection&>()))>;
    // The scores a query gives, its one parameter (if any) the limit.
    std::optional<std::vector<StoredScore>> Scores(const std::string& sql,
                                                   std::optional<long long> limit,
                                                   std::string& error);

    const TableSql sql{kPostgresDialect};
    const std::string url;
    ConnectionPool<pqxx::connection> pool;
};

}  // namespace server
