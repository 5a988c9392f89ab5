#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "scores/HighScoreIo.h"
#include "scores/HighScoreLock.h"

// highscore.txt: one entry per line, each line ending in a line feed. Storing a score replaces
// the whole file in one step, so that no entry already in it is ever lost: not to a full disk, a
// killed game, a file we may not read, or another game storing at the same moment.
class HighScoreFile {
  public:
    static constexpr const char* kFileName = "highscore.txt";
    // Far more than the game could write in a lifetime of play: a file with more is not the
    // game's own. It is never rewritten, and the list reads no further into it than this.
    static constexpr std::size_t kLargestFile = 32 * 1024 * 1024;
    static constexpr std::size_t kMostEntries = 1000 * 1000;

    explicit HighScoreFile(std::unique_ptr<HighScoreIo> io = std::make_unique<HighScoreIo>());
    ~HighScoreFile();
    HighScoreFile(const HighScoreFile&) = delete;
    HighScoreFile& operator=(const HighScoreFile&) = delete;

    // Waits until no other game is storing into the same folder, then appends every line of the
    // file at path to entries. A missing file has no entries yet. Returns false when the file
    // exists but could not be read whole; ReplaceLastFirst then writes nothing.
    bool ReadForUpdate(const std::string& path, std::vector<std::string>& entries);
    // Puts entries, the last one first, in place of the file that ReadForUpdate read, and lets
    // other games in again. On any failure the old file stands as it was. Returns whether the new
    // file is in place.
    bool ReplaceLastFirst(const std::string& path, const std::vector<std::string>& entries);

    // Appends the first maxLines lines of the file at path to entries, each cut to maxBytes. A
    // file that cannot be read gives what could be read before the fault; nothing waits.
    static void ReadFirstLines(const std::string& path, std::size_t maxLines, std::size_t maxBytes,
                               std::vector<std::string>& entries);

  private:
    bool WriteAndRename(const std::vector<std::string>& entries);
    bool WriteLastFirst(int fd, const std::vector<std::string>& entries);

    std::unique_ptr<HighScoreIo> io;
    std::unique_ptr<HighScoreLock> lock;  // held from ReadForUpdate to ReplaceLastFirst
    std::string readPath;                 // the name as given
    std::string target;                   // the file behind that name, symbolic links followed
    bool readWhole = false;
    bool existed = false;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
};
