#pragma once

#include <string>

namespace server {

// Copies the SQLite table in file from to file to while servers go on writing to it: SQLite's
// online backup reads the table as it stands at one moment, in one read transaction that writers
// do not wait for. The copy is made in memory (as large as the table) and written in place of to
// only once whole, synced to the disk, so a backup cut short never leaves half a table under to's
// name. False, with error set, when it cannot.
bool BackupSqlite(const std::string& from, const std::string& to, std::string& error);

}  // namespace server
