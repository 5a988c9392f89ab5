#include "server/PostgresStore.h"

#include <algorithm>
#include <climits>
#include <pqxx/pqxx>

namespace server {

namespace {
// Names and digests are kept as the bytes they are, whatever the database's encoding.
constexpr const char* kCreateTable = R"(CREATE TABLE IF NOT EXISTS scores (
    id bigserial PRIMARY KEY,
    points integer NOT NULL,
    name bytea NOT NULL,
    digest bytea NOT NULL UNIQUE,
    replay bytea NOT NULL,
    created timestamptz NOT NULL DEFAULT now());
-- The list's order, read in it.
CREATE INDEX IF NOT EXISTS scores_listed ON scores (points DESC, name DESC, id);
-- The prover's digest of the play: one game, one line. A table made before it gains the column;
-- its lines have none, and lines without one never collide.
ALTER TABLE scores ADD COLUMN IF NOT EXISTS play bytea;
CREATE UNIQUE INDEX IF NOT EXISTS scores_play ON scores (play))";
// Two servers starting at once on an empty database would both try to make the table, and one
// of them would fail on the other's half-made one; whoever holds this lock makes it alone.
constexpr std::int64_t kCreateTableLock = 0x41524341444553;
// A database that does not answer at all holds a request no longer than this.
constexpr const char* kConnectTimeout = "connect_timeout=5";

std::string WithConnectTimeout(const std::string& url) {
    if (url.find("connect_timeout=") != std::string::npos) {
        return url;
    }
    return url + (url.find('?') == std::string::npos ? "?" : "&") + kConnectTimeout;
}
}  // namespace

PostgresStore::PostgresStore(std::string url, std::size_t connections)
    : url(std::move(url)), most(connections > 0 ? connections : 1) {}

PostgresStore::~PostgresStore() = default;

std::unique_ptr<PostgresStore> PostgresStore::Open(const std::string& url, std::string& error,
                                                   std::size_t connections) {
    std::unique_ptr<PostgresStore> store(new PostgresStore(WithConnectTimeout(url), connections));
    const auto made = store->WithConnection(
        [](pqxx::connection& connection) {
            pqxx::work transaction(connection);
            transaction.exec_params("SELECT pg_advisory_xact_lock($1)", kCreateTableLock);
            transaction.exec(kCreateTable);
            transaction.commit();
            return true;
        },
        error);
    if (!made) {
        return nullptr;
    }
    return store;
}

std::unique_ptr<pqxx::connection> PostgresStore::Borrow() {
    std::unique_lock<std::mutex> lock(mutex);
    freed.wait(lock, [this] { return !idle.empty() || open < most; });
    if (!idle.empty()) {
        auto connection = std::move(idle.back());
        idle.pop_back();
        return connection;
    }
    ++open;
    lock.unlock();
    try {
        return std::make_unique<pqxx::connection>(url);
    } catch (...) {
        lock.lock();
        --open;
        freed.notify_one();
        throw;
    }
}

void PostgresStore::GiveBack(std::unique_ptr<pqxx::connection> connection) {
    if (!connection->is_open()) {
        ForgetAll(std::move(connection));
        return;
    }
    std::lock_guard<std::mutex> lock(mutex);
    idle.push_back(std::move(connection));
    freed.notify_one();
}

void PostgresStore::ForgetAll(std::unique_ptr<pqxx::connection> broken) {
    // One dropped connection mostly means the database went away and came back: the idle ones
    // are just as dead, and the next call should not pick one of them.
    std::vector<std::unique_ptr<pqxx::connection>> dead;
    {
        std::lock_guard<std::mutex> lock(mutex);
        dead.swap(idle);
        open -= dead.size() + (broken ? 1 : 0);
        freed.notify_all();
    }
}

template <typename Work>
auto PostgresStore::WithConnection(Work work, std::string& error)
    -> std::optional<decltype(work(std::declval<pqxx::connection&>()))> {
    // A second try on a new connection carries a call over a database restart. Adding twice is
    // safe: a score whose commit was in doubt is found by its digest the second time.
    constexpr int kTries = 2;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        std::unique_ptr<pqxx::connection> connection;
        try {
            connection = Borrow();
            auto result = work(*connection);
            GiveBack(std::move(connection));
            return result;
        } catch (const pqxx::broken_connection& e) {
            error = e.what();
        } catch (const pqxx::in_doubt_error& e) {
            error = e.what();
        } catch (const std::exception& e) {
            error = e.what();
            if (connection) {
                GiveBack(std::move(connection));
            }
            return std::nullopt;
        }
        if (connection) {
            ForgetAll(std::move(connection));
        }
    }
    return std::nullopt;
}

std::optional<ScoreStore::Added> PostgresStore::Add(int points, const std::string& name,
                                                    const std::string& replay,
                                                    const std::string& digest,
                                                    const std::string& play, std::string& error) {
    return WithConnection(
        [&](pqxx::connection& connection) {
            pqxx::work transaction(connection);
            const pqxx::binarystring digestBytes(digest);
            // An empty play is none: NULL, which matches nothing.
            const pqxx::binarystring playBytes(play);
            Added added;
            auto rows = transaction.exec_params(
                "INSERT INTO scores (points, name, digest, replay, play) "
                "VALUES ($1, $2, $3, $4, NULLIF($5, ''::bytea)) ON CONFLICT DO NOTHING RETURNING "
                "id",
                points, pqxx::binarystring(name), digestBytes, pqxx::binarystring(replay),
                playBytes);
            if (rows.empty()) {
                // Kept before, perhaps by another server a moment ago: the insert waited for
                // that commit, so this statement sees it. The same bytes if there are, else
                // the same play.
                rows = transaction.exec_params(
                    "SELECT id, points, name, digest = $1 FROM scores WHERE digest = $1 OR "
                    "play = NULLIF($2, ''::bytea) ORDER BY digest = $1 DESC LIMIT 1",
                    digestBytes, playBytes);
                added.fresh = false;
                added.kept.replayId = rows.at(0).at(0).as<std::int64_t>();
                added.kept.points = rows.at(0).at(1).as<int>();
                added.kept.name = pqxx::binarystring(rows.at(0).at(2)).str();
                added.sameGame = !rows.at(0).at(3).as<bool>();
            }
            added.replayId = rows.at(0).at(0).as<std::int64_t>();
            transaction.commit();
            return added;
        },
        error);
}

std::optional<std::vector<StoredScore>> PostgresStore::All(std::string& error) {
    return Scores("SELECT id, points, name FROM scores ORDER BY id", std::nullopt, error);
}

std::optional<std::vector<StoredScore>> PostgresStore::Best(std::size_t most, std::string& error) {
    return Scores(
        "SELECT id, points, name FROM scores ORDER BY points DESC, name DESC, id LIMIT $1",
        static_cast<long long>(std::min<std::size_t>(most, LLONG_MAX)), error);
}

std::optional<std::size_t> PostgresStore::Count(std::string& error) {
    return WithConnection(
        [](pqxx::connection& connection) {
            pqxx::read_transaction transaction(connection);
            return transaction.exec1("SELECT count(*) FROM scores")[0].as<std::size_t>();
        },
        error);
}

std::optional<std::vector<StoredScore>> PostgresStore::Scores(const char* sql,
                                                              std::optional<long long> limit,
                                                              std::string& error) {
    return WithConnection(
        [sql, limit](pqxx::connection& connection) {
            pqxx::read_transaction transaction(connection);
            const auto rows = limit ? transaction.exec_params(sql, *limit) : transaction.exec(sql);
            std::vector<StoredScore> scores;
            scores.reserve(rows.size());
            for (const auto& row : rows) {
                StoredScore score;
                score.replayId = row[0].as<std::int64_t>();
                score.points = row[1].as<int>();
                score.name = pqxx::binarystring(row[2]).str();
                scores.push_back(std::move(score));
            }
            return scores;
        },
        error);
}

std::optional<std::string> PostgresStore::Replay(std::int64_t id, std::string& error) {
    error.clear();
    const auto found = WithConnection(
        [id](pqxx::connection& connection) -> std::optional<std::string> {
            pqxx::read_transaction transaction(connection);
            const auto rows =
                transaction.exec_params("SELECT replay FROM scores WHERE id = $1", id);
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

}  // namespace server
