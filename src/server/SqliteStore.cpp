#include "server/SqliteStore.h"

#include <algorithm>
#include <cstdint>

namespace server {
namespace {

// How long a connection waits for another (another server on the same file, say) to finish
// writing before it gives up.
constexpr int kBusyMilliseconds = 5000;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS scores ("
    " id INTEGER PRIMARY KEY,"
    " points INTEGER NOT NULL,"
    " name TEXT NOT NULL,"
    " digest TEXT NOT NULL UNIQUE,"
    " replay BLOB NOT NULL,"
    " play TEXT);"
    // The list's order, read in it.
    "CREATE INDEX IF NOT EXISTS scores_listed ON scores (points DESC, name DESC, id)";
// A table made before plays were told apart gains their column; its lines have none, and
// several lines without one never collide.
constexpr const char* kHasPlay = "SELECT 1 FROM pragma_table_info('scores') WHERE name = 'play'";
constexpr const char* kAddPlay = "ALTER TABLE scores ADD COLUMN play TEXT";
constexpr const char* kPlayIndex = "CREATE UNIQUE INDEX IF NOT EXISTS scores_play ON scores (play)";

struct Finalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

std::string Why(sqlite3* db) {
    return std::string("the score database: ") + sqlite3_errmsg(db);
}

Statement Prepare(sqlite3* db, const char* sql, std::string& error) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        error = Why(db);
        sqlite3_finalize(statement);
        return nullptr;
    }
    return Statement(statement);
}

bool Execute(sqlite3* db, const char* sql, std::string& error) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = Why(db);
        return false;
    }
    return true;
}

SqlitePtr Connect(const std::string& path, int flags, std::string& error) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    SqlitePtr db(raw);
    if (opened != SQLITE_OK) {
        error = path + ": " + (raw != nullptr ? sqlite3_errmsg(raw) : "cannot be opened");
        return nullptr;
    }
    sqlite3_busy_timeout(db.get(), kBusyMilliseconds);
    sqlite3_extended_result_codes(db.get(), 1);
    return db;
}

bool WithPlay(sqlite3* db, std::string& error) {
    Statement has = Prepare(db, kHasPlay, error);
    if (has == nullptr) {
        return false;
    }
    const int step = sqlite3_step(has.get());
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        error = Why(db);
        return false;
    }
    return (step == SQLITE_ROW || Execute(db, kAddPlay, error)) && Execute(db, kPlayIndex, error);
}

void BindText(sqlite3_stmt* statement, int at, const std::string& text) {
    sqlite3_bind_text(statement, at, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

}  // namespace

std::unique_ptr<SqliteStore> SqliteStore::Open(const std::string& path, std::string& error) {
    SqlitePtr writer = Connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
    if (writer == nullptr) {
        return nullptr;
    }
    // The write-ahead journal synced in full makes every commit durable when it returns.
    if (!Execute(writer.get(), "PRAGMA journal_mode=WAL", error) ||
        !Execute(writer.get(), "PRAGMA synchronous=FULL", error) ||
        !Execute(writer.get(), kSchema, error) || !WithPlay(writer.get(), error)) {
        error = path + ": " + error;
        return nullptr;
    }
    SqlitePtr reader = Connect(path, SQLITE_OPEN_READONLY, error);
    if (reader == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SqliteStore>(new SqliteStore(std::move(writer), std::move(reader)));
}

std::optional<ScoreStore::Added> SqliteStore::Add(int points, const std::string& name,
                                                  const std::string& replay,
                                                  const std::string& digest,
                                                  const std::string& play, std::string& error) {
    std::lock_guard<std::mutex> lock(writing);
    sqlite3* db = writer.get();
    Statement insert = Prepare(db,
                               "INSERT INTO scores (points, name, digest, replay, play)"
                               " VALUES (?, ?, ?, ?, ?) ON CONFLICT DO NOTHING",
                               error);
    if (insert == nullptr) {
        return std::nullopt;
    }
    sqlite3_bind_int(insert.get(), 1, points);
    BindText(insert.get(), 2, name);
    BindText(insert.get(), 3, digest);
    sqlite3_bind_blob(insert.get(), 4, replay.data(), static_cast<int>(replay.size()),
                      SQLITE_STATIC);
    if (play.empty()) {
        sqlite3_bind_null(insert.get(), 5);
    } else {
        BindText(insert.get(), 5, play);
    }
    if (sqlite3_step(insert.get()) != SQLITE_DONE) {
        error = Why(db);
        return std::nullopt;
    }
    if (sqlite3_changes(db) == 1) {
        Added added;
        added.replayId = sqlite3_last_insert_rowid(db);
        return added;
    }
    // Kept before: the same bytes if there are, else the same play.
    Statement kept = Prepare(db,
                             "SELECT id, points, name, digest = ?1 FROM scores"
                             " WHERE digest = ?1 OR play = ?2 ORDER BY digest = ?1 DESC LIMIT 1",
                             error);
    if (kept == nullptr) {
        return std::nullopt;
    }
    BindText(kept.get(), 1, digest);
    if (play.empty()) {
        sqlite3_bind_null(kept.get(), 2);
    } else {
        BindText(kept.get(), 2, play);
    }
    if (sqlite3_step(kept.get()) != SQLITE_ROW) {
        error = Why(db);
        return std::nullopt;
    }
    Added added;
    added.fresh = false;
    added.replayId = sqlite3_column_int64(kept.get(), 0);
    added.kept.replayId = added.replayId;
    added.kept.points = sqlite3_column_int(kept.get(), 1);
    const auto* keptName = reinterpret_cast<const char*>(sqlite3_column_text(kept.get(), 2));
    added.kept.name.assign(keptName != nullptr ? keptName : "",
                           static_cast<std::size_t>(sqlite3_column_bytes(kept.get(), 2)));
    added.sameGame = sqlite3_column_int(kept.get(), 3) == 0;
    return added;
}

int SqliteStore::Synchronous() {
    std::lock_guard<std::mutex> lock(writing);
    std::string error;
    Statement asked = Prepare(writer.get(), "PRAGMA synchronous", error);
    if (asked == nullptr || sqlite3_step(asked.get()) != SQLITE_ROW) {
        return -1;
    }
    return sqlite3_column_int(asked.get(), 0);
}

std::optional<std::vector<StoredScore>> SqliteStore::All(std::string& error) {
    return Scores("SELECT id, points, name FROM scores ORDER BY id", std::nullopt, error);
}

std::optional<std::vector<StoredScore>> SqliteStore::Best(std::size_t most, std::string& error) {
    return Scores("SELECT id, points, name FROM scores ORDER BY points DESC, name DESC, id LIMIT ?",
                  static_cast<sqlite3_int64>(std::min<std::size_t>(most, INT64_MAX)), error);
}

std::optional<std::size_t> SqliteStore::Count(std::string& error) {
    std::lock_guard<std::mutex> lock(reading);
    Statement count = Prepare(reader.get(), "SELECT count(*) FROM scores", error);
    if (count == nullptr) {
        return std::nullopt;
    }
    if (sqlite3_step(count.get()) != SQLITE_ROW) {
        error = std::string("cannot count the scores: ") + sqlite3_errmsg(reader.get());
        return std::nullopt;
    }
    return static_cast<std::size_t>(sqlite3_column_int64(count.get(), 0));
}

std::optional<std::vector<StoredScore>> SqliteStore::Scores(const char* sql,
                                                            std::optional<sqlite3_int64> limit,
                                                            std::string& error) {
    std::lock_guard<std::mutex> lock(reading);
    Statement select = Prepare(reader.get(), sql, error);
    if (select == nullptr) {
        return std::nullopt;
    }
    if (limit) {
        sqlite3_bind_int64(select.get(), 1, *limit);
    }
    std::vector<StoredScore> scores;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(select.get())) == SQLITE_ROW) {
        StoredScore score;
        score.replayId = sqlite3_column_int64(select.get(), 0);
        score.points = sqlite3_column_int(select.get(), 1);
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(select.get(), 2));
        score.name.assign(name != nullptr ? name : "",
                          static_cast<std::size_t>(sqlite3_column_bytes(select.get(), 2)));
        scores.push_back(std::move(score));
    }
    if (step != SQLITE_DONE) {
        error = Why(reader.get());
        return std::nullopt;
    }
    return scores;
}

std::optional<std::string> SqliteStore::Replay(std::int64_t id, std::string& error) {
    std::lock_guard<std::mutex> lock(reading);
    Statement select = Prepare(reader.get(), "SELECT replay FROM scores WHERE id = ?", error);
    if (select == nullptr) {
        return std::nullopt;
    }
    sqlite3_bind_int64(select.get(), 1, id);
    const int step = sqlite3_step(select.get());
    if (step == SQLITE_DONE) {
        return std::nullopt;
    }
    if (step != SQLITE_ROW) {
        error = Why(reader.get());
        return std::nullopt;
    }
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(select.get(), 0));
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(select.get(), 0));
    return bytes != nullptr ? std::string(bytes, size) : std::string();
}

}  // namespace server
