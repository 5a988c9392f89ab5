#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <pqxx/connection>
#include <string>
#include <utility>
#include <vector>

#include "server/ScoreStore.h"

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

    using ScoreStore::Add;
    std::optional<Added> Add(int points, const std::string& name, const std::string& replay,
                             const std::string& digest, const std::string& play,
                             std::string& error) override;
    std::optional<std::vector<StoredScore>> All(std::string& error) override;
    std::optional<std::vector<StoredScore>> Best(std::size_t most, std::string& error) override;
    std::optional<std::size_t> Count(std::string& error) override;
    std::optional<std::string> Replay(std::int64_t id, std::string& error) override;

  private:
    PostgresStore(std::string url, std::size_t connections);

    // Runs work(connection) on a borrowed connection and gives back what it returns; nothing,
    // with error set, when the database failed it.
    template <typename Work>
    auto WithConnection(Work work, std::string& error)
        -> std::optional<decltype(work(std::declval<pqxx::connection&>()))>;
    std::unique_ptr<pqxx::connection> Borrow();
    void GiveBack(std::unique_ptr<pqxx::connection> connection);
    void ForgetAll(std::unique_ptr<pqxx::connection> broken);
    // The scores a query gives, its one parameter (if any) the limit.
    std::optional<std::vector<StoredScore>> Scores(const char* sql, std::optional<long long> limit,
                                                   std::string& error);

    const std::string url;
    const std::size_t most;
    std::mutex mutex;
    std::condition_variable freed;
    std::vector<std::unique_ptr<pqxx::connection>> idle;
    std::size_t open = 0;  // idle and lent out
};

}  // namespace server
