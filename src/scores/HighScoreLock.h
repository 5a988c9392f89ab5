#pragma once

#include <string>

// Keeps other games away from the high-score file while one of them reads it, adds its entry and
// puts the new file in place, so that two games storing at the same moment both keep their entry.
//
// The lock is taken on the folder that holds the file, not on the file: the file is replaced by a
// rename, and a game that had been waiting on the old file would wake up holding a lock on a file
// nobody reads any more, then read stale entries and drop the other game's. Locking the folder
// also leaves no lock file behind.
class HighScoreLock {
  public:
    // Waits until no other game holds the lock for file, which lies in folder.
    HighScoreLock(const std::string& folder, const std::string& file);
    ~HighScoreLock();
    HighScoreLock(const HighScoreLock&) = delete;
    HighScoreLock& operator=(const HighScoreLock&) = delete;

    // Whether the lock is on the folder, so that no other game can be writing there now.
    bool OnFolder() const { return onFolder; }

  private:
    void LockFile(const std::string& file);

    int fd = -1;
    bool onFolder = false;
};
