#include "server/ScoreStore.h"
#include "server/SqliteStore.h"
#ifdef ARCADE_WITH_POSTGRES
#include "server/PostgresStore.h"
#include "server/ServerLimits.h"
#endif

namespace server {

std::unique_ptr<ScoreStore> OpenStore(const std::string& name, std::string& error) {
    const std::string sqlite = "sqlite:";
    if (name.compare(0, sqlite.size(), sqlite) == 0 && name.size() > sqlite.size()) {
        return SqliteStore::Open(name.substr(sqlite.size()), error);
    }
    if (name.compare(0, 13, "postgresql://") == 0 || name.compare(0, 11, "postgres://") == 0) {
#ifdef ARCADE_WITH_POSTGRES
        // A connection for each post's worker and one for the reads, so that none waits for
        // another's.
        return PostgresStore::Open(name, error, limits::kStoreConnections);
#else
        error = "this server was built without PostgreSQL";
        return nullptr;
#endif
    }
    error = "the table must be sqlite:PATH or postgresql://..., not \"" + name + "\"";
    return nullptr;
}

}  // namespace server
