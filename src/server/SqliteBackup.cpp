#include "server/SqliteBackup.h"

#include <sqlite3.h>

#include <memory>

#include "server/SqliteStore.h"
#include "storage/DurableFile.h"

namespace server {
namespace {

struct BackupFinish {
    void operator()(sqlite3_backup* backup) const { sqlite3_backup_finish(backup); }
};
struct SqliteFree {
    void operator()(unsigned char* bytes) const { sqlite3_free(bytes); }
};

SqlitePtr OpenDb(const std::string& path, int flags, std::string& error) {
    sqlite3* opened = nullptr;
    const int status = sqlite3_open_v2(path.c_str(), &opened, flags, nullptr);
    SqlitePtr db(opened);
    if (status != SQLITE_OK) {
        error = path + ": " + (db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(status));
        return nullptr;
    }
    return db;
}

}  // namespace

bool BackupSqlite(const std::string& from, const std::string& to, std::string& error) {
    // Never made here: a wrong name is an error, not an empty backup.
    SqlitePtr source = OpenDb(from, SQLITE_OPEN_READONLY, error);
    if (source == nullptr) {
        return false;
    }
    // A server busy writing holds its lock for a moment only.
    sqlite3_busy_timeout(source.get(), 10000);
    SqlitePtr copy = OpenDb(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, error);
    if (copy == nullptr) {
        return false;
    }
    {
        const std::unique_ptr<sqlite3_backup, BackupFinish> backup(
            sqlite3_backup_init(copy.get(), "main", source.get(), "main"));
        if (backup == nullptr) {
            error = std::string("cannot copy ") + from + ": " + sqlite3_errmsg(copy.get());
            return false;
        }
        // All pages in one step: one read transaction, one moment of the table.
        const int status = sqlite3_backup_step(backup.get(), -1);
        if (status != SQLITE_DONE) {
            error = "cannot copy " + from + ": " + sqlite3_errstr(status);
            return false;
        }
    }
    sqlite3_int64 size = 0;
    const std::unique_ptr<unsigned char, SqliteFree> bytes(
        sqlite3_serialize(copy.get(), "main", &size, 0));
    if (bytes == nullptr) {
        error = "cannot copy " + from + ": out of memory";
        return false;
    }
    // Only something that holds the table is a backup of it.
    if (size == 0 || sqlite3_exec(copy.get(), "SELECT 1 FROM scores LIMIT 1", nullptr, nullptr,
                                  nullptr) != SQLITE_OK) {
        error = from + " holds no score table";
        return false;
    }
    storage::DurableFile file(to);
    if (!file.Open() ||
        !file.Write(reinterpret_cast<const char*>(bytes.get()), static_cast<std::size_t>(size)) ||
        !file.Commit()) {
        error = to + ": " + file.Fault().Reason();
        return false;
    }
    return true;
}

}  // namespace server
