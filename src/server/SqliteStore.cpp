#include "server/SqliteStore.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace server {
namespace {

// How long a connection waits for another (another server on the same file, say) to finish
// writing before it gives up.
constexpr int kBusyMilliseconds = 5000;

// What the database said when it failed a statement.
struct Failed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Why(sqlite3* db) {
    return std::string("the score database: ") + sqlite3_errmsg(db);
}

struct Finalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// One statement, its parameters bound by their names ($1, $2, ...) and its rows read; any failure
// throws Failed.
class Statement {
  public:
    Statement(sqlite3* db, const std::string& sql) : db(db) {
        sqlite3_stmt* made = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &made, nullptr) !=
            SQLITE_OK) {
            sqlite3_finalize(made);
            throw Failed(Why(db));
        }
        statement.reset(made);
    }

    Statement& Bind(int number, sqlite3_int64 value) {
        if (const int at = At(number)) {
            Check(sqlite3_bind_int64(statement.get(), at, value));
        }
        return *this;
    }
    Statement& BindText(int number, const std::string& text) {
        if (const int at = At(number)) {
            Check(sqlite3_bind_text(statement.get(), at, text.data(), static_cast<int>(text.size()),
                                    SQLITE_STATIC));
        }
        return *this;
    }
    Statement& BindBytes(int number, const std::string& bytes) {
        if (const int at = At(number)) {
            Check(sqlite3_bind_blob(statement.get(), at, bytes.data(),
                                    static_cast<int>(bytes.size()), SQLITE_STATIC));
        }
        return *this;
    }

    // True while there is a row to read.
    bool Step() {
        const int step = sqlite3_step(statement.get());
        if (step != SQLITE_ROW && step != SQLITE_DONE) {
            throw Failed(Why(db));
        }
        return step == SQLITE_ROW;
    }
    void Run() {
        while (Step()) {
        }
    }

    sqlite3_int64 Number(int column) const { return sqlite3_column_int64(statement.get(), column); }
    // Text or bytes alike, as the bytes they are.
    std::string Bytes(int column) const {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement.get(), column));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement.get(), column));
        return bytes != nullptr ? std::string(bytes, size) : std::string();
    }
    StoredScore Score() const {
        StoredScore score;
        score.replayId = Number(0);
        score.points = static_cast<int>(Number(1));
        score.name = Bytes(2);
        return score;
    }

  private:
    int At(int number) const {
        return sqlite3_bind_parameter_index(statement.get(),
                                            ("$" + std::to_string(number)).c_str());
    }
    void Check(int bound) const {
        if (bound != SQLITE_OK) {
            throw Failed(Why(db));
        }
    }

    sqlite3* db;
    std::unique_ptr<sqlite3_stmt, Finalize> statement;
};

void Execute(sqlite3* db, const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw Failed(Why(db));
    }
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

bool HasColumn(sqlite3* db, const std::string& column) {
    Statement has(db, "SELECT 1 FROM pragma_table_info('scores') WHERE name = $1");
    has.BindText(1, column);
    return has.Step();
}

// The table as TableSql has it, whatever an older server left: in one transaction.
void MakeTable(sqlite3* db, const TableSql& sql) {
    Execute(db, "BEGIN IMMEDIATE");
    try {
        Execute(db, sql.createScores);
        for (const auto& [column, add] : sql.laterColumns) {
            if (!HasColumn(db, column)) {
                Execute(db, add);
            }
        }
        for (const std::string& statement : sql.schema) {
            Execute(db, statement);
        }
        Execute(db, "COMMIT");
    } catch (const Failed&) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

// Add's steps on the writing connection.
class SqliteKeeping : public Keeping {
  public:
    SqliteKeeping(sqlite3* db, const TableSql& sql) : db(db), sql(sql) {}

    std::optional<StoredScore> Kept(const Posted& post, bool& sameBytes) override {
        Statement kept(db, sql.kept);
        kept.BindText(1, post.digest).BindText(2, post.play);
        if (!kept.Step()) {
            return std::nullopt;
        }
        sameBytes = kept.Number(3) != 0;
        return kept.Score();
    }
    std::vector<Candidate> Sharing(const std::string& marks) override {
        Statement sharing(db, sql.sharing);
        sharing.BindText(1, marks);
        std::vector<Candidate> candidates;
        while (sharing.Step()) {
            candidates.push_back({sharing.Score(), sharing.Bytes(3)});
        }
        return candidates;
    }
    std::int64_t Insert(const Posted& post) override {
        Statement insert(db, sql.insert);
        insert.Bind(1, post.points).BindText(2, post.name).BindText(3, post.digest);
        insert.BindBytes(4, post.replay).BindText(5, post.play).BindBytes(6, post.fingerprint);
        if (!insert.Step()) {
            throw Failed("the score database: no id for the new line");
        }
        return insert.Number(0);
    }
    void Mark(std::int64_t id, const std::string& marks) override {
        Statement mark(db, sql.mark);
        mark.BindText(1, marks).Bind(2, id);
        mark.Run();
    }

  private:
    sqlite3* db;
    const TableSql& sql;
};

}  // namespace

std::unique_ptr<SqliteStore> SqliteStore::Open(const std::string& path, std::string& error,
                                               std::size_t readers) {
    SqlitePtr writer = Connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
    if (writer == nullptr) {
        return nullptr;
    }
    std::unique_ptr<SqliteStore> store(new SqliteStore(path, std::move(writer), readers));
    try {
        // The write-ahead journal synced in full makes every commit durable when it returns,
        // and lets the readers read while a score is written.
        Execute(store->writer.get(), "PRAGMA journal_mode=WAL");
        Execute(store->writer.get(), "PRAGMA synchronous=FULL");
        MakeTable(store->writer.get(), store->sql);
    } catch (const Failed& failed) {
        error = path + ": " + failed.what();
        return nullptr;
    }
    return store;
}

template <typename Read>
bool SqliteStore::Reading(Read read, std::string& error) {
    auto connection =
        readers.Borrow([this, &error] { return Connect(path, SQLITE_OPEN_READONLY, error); });
    if (connection == nullptr) {
        return false;
    }
    bool done = false;
    try {
        read(connection.get());
        done = true;
    } catch (const Failed& failed) {
        error = failed.what();
    }
    readers.GiveBack(std::move(connection));
    return done;
}

template <typename Write>
bool SqliteStore::Writing(Write write, std::string& error) {
    std::lock_guard<std::mutex> lock(writing);
    sqlite3* db = writer.get();
    try {
        Execute(db, "BEGIN IMMEDIATE");
        write(db);
        Execute(db, "COMMIT");
        return true;
    } catch (const Failed& failed) {
        error = failed.what();
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
}

std::optional<ScoreStore::Added> SqliteStore::Add(const Posted& post, std::string& error) {
    Added added;
    const bool done = Writing(
        [&](sqlite3* db) {
            SqliteKeeping keeping(db, sql);
            added = Keep(keeping, post);
        },
        error);
    return done ? std::optional<Added>(added) : std::nullopt;
}

std::optional<StoredScore> SqliteStore::Copied(const std::string& fingerprint, std::string& error) {
    error.clear();
    std::optional<StoredScore> copied;
    Reading(
        [&](sqlite3* db) {
            SqliteKeeping keeping(db, sql);
            copied = CopiedFrom(keeping, fingerprint);
        },
        error);
    return copied;
}

int SqliteStore::Synchronous() {
    std::lock_guard<std::mutex> lock(writing);
    try {
        Statement asked(writer.get(), "PRAGMA synchronous");
        return asked.Step() ? static_cast<int>(asked.Number(0)) : -1;
    } catch (const Failed&) {
        return -1;
    }
}

std::optional<std::vector<StoredScore>> SqliteStore::All(std::string& error) {
    return Scores(sql.all, std::nullopt, error);
}

std::optional<std::vector<StoredScore>> SqliteStore::Best(std::size_t most, std::string& error) {
    return Scores(sql.best, static_cast<sqlite3_int64>(std::min<std::size_t>(most, INT64_MAX)),
                  error);
}

std::optional<std::size_t> SqliteStore::Count(std::string& error) {
    std::size_t count = 0;
    const bool done = Reading(
        [&](sqlite3* db) {
            Statement counting(db, sql.count);
            counting.Step();
            count = static_cast<std::size_t>(counting.Number(0));
        },
        error);
    return done ? std::optional<std::size_t>(count) : std::nullopt;
}

std::optional<std::vector<StoredScore>> SqliteStore::Scores(const std::string& query,
                                                            std::optional<sqlite3_int64> limit,
                                                            std::string& error) {
    std::vector<StoredScore> scores;
    const bool done = Reading(
        [&](sqlite3* db) {
            Statement select(db, query);
            if (limit) {
                select.Bind(1, *limit);
            }
            while (select.Step()) {
                scores.push_back(select.Score());
            }
        },
        error);
    return done ? std::optional<std::vector<StoredScore>>(std::move(scores)) : std::nullopt;
}

std::optional<std::string> SqliteStore::Replay(std::int64_t id, std::string& error) {
    error.clear();
    std::optional<std::string> replay;
    Reading(
        [&](sqlite3* db) {
            Statement select(db, sql.replay);
            select.Bind(1, id);
            if (select.Step()) {
                replay = select.Bytes(0);
            }
        },
        error);
    return replay;
}

std::optional<std::vector<ScoreStore::UnprintedLine>> SqliteStore::Unprinted(std::int64_t after,
                                                                             std::size_t most,
                                                                             std::string& error) {
    std::vector<ScoreStore::UnprintedLine> lines;
    const bool done = Reading(
        [&](sqlite3* db) {
            Statement select(db, sql.unprinted);
            select.Bind(1, after).Bind(2, static_cast<sqlite3_int64>(most));
            while (select.Step()) {
                lines.push_back({select.Number(0), select.Bytes(1)});
            }
        },
        error);
    return done ? std::optional<std::vector<ScoreStore::UnprintedLine>>(std::move(lines))
                : std::nullopt;
}

bool SqliteStore::SetPrints(const std::vector<Reproven>& lines, std::string& error) {
    return Writing(
        [&](sqlite3* db) {
            for (const Reproven& line : lines) {
                Statement update(db, sql.setPrint);
                update.Bind(1, line.replayId).BindBytes(2, line.fingerprint).BindText(3, line.play);
                update.Run();
                if (!line.fingerprint.empty()) {
                    SqliteKeeping(db, sql).Mark(line.replayId, MarksOf(line.fingerprint));
                }
            }
        },
        error);
}

}  // namespace server
