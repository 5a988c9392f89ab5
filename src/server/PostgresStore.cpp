#include "server/PostgresStore.h"

#include <algorithm>
#include <climits>
#include <pqxx/pqxx>

namespace server {

namespace {
// Two servers starting at once on an empty database would both try to make the table, and one
// of them would fail on the other's half-made one; whoever holds this lock makes it alone.
constexpr std::int64_t kCreateTableLock = 0x41524341444553;
// Whoever holds this one keeps a post: the check for a line it copies and the new line are one
// step for all servers, and lines get their ids in the order they are listed.
constexpr std::int64_t kAddLock = 0x41524341444554;
// A database that does not answer at all holds a request no longer than this.
constexpr const char* kConnectTimeout = "connect_timeout=5";

std::string WithConnectTimeout(const std::string& url) {
    if (url.find("connect_timeout=") != std::string::npos) {
        return url;
    }
    return url + (url.find('?') == std::string::npos ? "?" : "&") + kConnectTimeout;
}

// Names and digests are kept as the bytes they are, whatever the database's encoding.
pqxx::binarystring Bytes(const std::string& text) {
    return pqxx::binarystring(text);
}

StoredScore ScoreOf(const pqxx::row& row) {
    StoredScore score;
    score.replayId = row[0].as<std::int64_t>();
    score.points = row[1].as<int>();
    score.name = pqxx::binarystring(row[2]).str();
    return score;
}

// Add's steps in one transaction.
class PostgresKeeping : public Keeping {
  public:
    PostgresKeeping(pqxx::work& transaction, const TableSql& sql)
        : transaction(transaction), sql(sql) {}

    std::optional<StoredScore> Kept(const Posted& post, bool& sameBytes) override {
        const auto rows = transaction.exec_params(sql.kept, Bytes(post.digest), Bytes(post.play));
        if (rows.empty()) {
            return std::nullopt;
        }
        sameBytes = rows[0][3].as<bool>();
        return ScoreOf(rows[0]);
    }
    std::vector<Candidate> Sharing(const std::string& marks) override {
        std::vector<Candidate> candidates;
        for (const auto& row : transaction.exec_params(sql.sharing, marks)) {
            candidates.push_back(
                {ScoreOf(row), row[3].is_null() ? "" : pqxx::binarystring(row[3]).str()});
        }
        return candidates;
    }
    std::int64_t Insert(const Posted& post) override {
        return transaction
            .exec_params1(sql.insert, post.points, Bytes(post.name), Bytes(post.digest),
                          Bytes(post.replay), Bytes(post.play), Bytes(post.fingerprint))[0]
            .as<std::int64_t>();
    }
    void Mark(std::int64_t id, const std::string& marks) override {
        transaction.exec_params(sql.mark, marks, id);
    }

  private:
    pqxx::work& transaction;
    const TableSql& sql;
};

}  // namespace

PostgresStore::PostgresStore(std::string url, std::size_t connections)
    : url(std::move(url)), pool(connections) {}

PostgresStore::~PostgresStore() = default;

std::unique_ptr<PostgresStore> PostgresStore::Open(const std::string& url, std::string& error,
                                                   std::size_t connections) {
    std::unique_ptr<PostgresStore> store(new PostgresStore(WithConnectTimeout(url), connections));
    const TableSql& sql = store->sql;
    const auto made = store->WithConnection(
        [&sql](pqxx::connection& connection) {
            pqxx::work transaction(connection);
            transaction.exec_params("SELECT pg_advisory_xact_lock($1)", kCreateTableLock);
            transaction.exec(sql.createScores);
            for (const auto& column : sql.laterColumns) {
                transaction.exec(column.second);
            }
            for (const std::string& statement : sql.schema) {
                transaction.exec(statement);
            }
            transaction.commit();
            return true;
        },
        error);
    if (!made) {
        return nullptr;
    }
    return store;
}

template <typename Work>
auto PostgresStore::WithConnection(Work work, std::string& error)
    -> std::optional<decltype(work(std::declval<pqxx::connection&>()))> {
    // A second try on a new connection carries a call over a database restart. Adding twice is
    // safe: a score whose commit was in doubt is found by its digest the second time.
    constexpr int kTries = 2;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        ConnectionPool<pqxx::connection>::Lent connection;
        try {
            connection = pool.Borrow([this] { return std::make_unique<pqxx::connection>(url); });
            auto result = work(*connection);
            if (connection->is_open()) {
                pool.GiveBack(std::move(connection));
            } else {
                pool.ForgetAll(std::move(connection));
            }
            return result;
        } catch (const pqxx::broken_connection& e) {
            error = e.what();
        } catch (const pqxx::in_doubt_error& e) {
            error = e.what();
        } catch (const std::exception& e) {
            error = e.what();
            if (connection) {
                pool.GiveBack(std::move(connection));
            }
            return std::nullopt;
        }
        if (connection) {
            pool.ForgetAll(std::move(connection));
        }
    }
    return std::nullopt;
}

std::optional<ScoreStore::Added> PostgresStore::Add(const Posted& post, std::string& error) {
    return WithConnection(
        [&](pqxx::connection& connection) {
            pqxx::work transaction(connection);
            transaction.exec_params("SELECT pg_advisory_xact_lock($1)", kAddLock);
            PostgresKeeping keeping(transaction, sql);
            const Added added = Keep(keeping, post);
            transaction.commit();
            return added;
        },
        error);
}

std::optional<StoredScore> PostgresStore::Copied(const std::string& fingerprint,
                                                 std::string& error) {
    error.clear();
    const auto found = WithConnection(
        [&](pqxx::connection& connection) {
            pqxx::work transaction(connection);
            PostgresKeeping keeping(transaction, sql);
            return CopiedFrom(keeping, fingerprint);
        },
        error);
    return found ? *found : std::nullopt;
}

std::optional<std::vector<StoredScore>> PostgresStore::All(std::string& error) {
    return Scores(sql.all, std::nullopt, error);
}

std::optional<std::vector<StoredScore>> PostgresStore::Best(std::size_t most, std::string& error) {
    return Scores(sql.best, static_cast<long long>(std::min<std::size_t>(most, LLONG_MAX)), error);
}

std::optional<std::size_t> PostgresStore::Count(std::string& error) {
    return WithConnection(
        [this](pqxx::connection& connection) {
            pqxx::read_transaction transaction(connection);
            return transaction.exec1(sql.count)[0].as<std::size_t>();
        },
        error);
}

std::optional<std::vector<StoredScore>> PostgresStore::Scores(const std::string& query,
                                                              std::optional<long long> limit,
                                                              std::string& error) {
    return WithConnection(
        [&query, limit](pqxx::connection& connection) {
            pqxx::read_transaction transaction(connection);
            const auto rows =
                limit ? transaction.exec_params(query, *limit) : transaction.exec(query);
            std::vector<StoredScore> scores;
            scores.reserve(rows.size());
            for (const auto& row : rows) {
                scores.push_back(ScoreOf(row));
            }
            return scores;
        },
        error);
}

std::optional<std::string> PostgresStore::Replay(std::int64_t id, std::string& error) {
    error.clear();
    const auto found = WithConnection(
        [this, id](pqxx::connection& connection) -> std::optional<std::string> {
            pqxx::read_transaction transaction(connection);
            const auto rows = transaction.exec_params(sql.replay, id);
            if (rows.empty()) {
                return std::nullopt;
            }
            return pqxx::binarystring(rows[0][0]).str();
        },
        error);
    if (!found) {
        return std::nullopt;
    }
    return *found;
}

std::optional<std::vector<ScoreStore::UnprintedLine>> PostgresStore::Unprinted(std::int64_t after,
                                                                               std::size_t most,
                                                                               std::string& error) {
    return WithConnection(
        [&](pqxx::connection& connection) {
            pqxx::read_transaction transaction(connection);
            std::vector<ScoreStore::UnprintedLine> lines;
            for (const auto& row :
                 transaction.exec_params(sql.unprinted, after, static_cast<long long>(most))) {
                lines.push_back({row[0].as<std::int64_t>(), pqxx::binarystring(row[1]).str()});
            }
            return lines;
        },
        error);
}

bool PostgresStore::SetPrints(const std::vector<Reproven>& lines, std::string& error) {
    return WithConnection(
               [&](pqxx::connection& connection) {
                   pqxx::work transaction(connection);
                   // Under the lock of posts: the play a line is given is no other line's.
                   transaction.exec_params("SELECT pg_advisory_xact_lock($1)", kAddLock);
                   PostgresKeeping keeping(transaction, sql);
                   for (const Reproven& line : lines) {
                       transaction.exec_params(sql.setPrint, line.replayId, Bytes(line.fingerprint),
                                               Bytes(line.play));
                       if (!line.fingerprint.empty()) {
                           keeping.Mark(line.replayId, MarksOf(line.fingerprint));
                       }
                   }
                   transaction.commit();
                   return true;
               },
               error)
        .has_value();
}

}  // namespace server
