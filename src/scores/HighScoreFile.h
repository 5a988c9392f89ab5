#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "scores/HighScoreIo.h"
#include "scores/HighScoreLock.h"
#include "scores/LongestName.h"
#include "scores/StoreFailure.h"

// highscore.txt: one entry per line, each line ending in a line feed. Storing a score replaces
// the whole file in one step, so that no entry already in it is ever lost: not to a full disk, a
// killed game, a file we may not read, or another game storing at the same moment.
class HighScoreFile {
  public:
    static constexpr const char* kFileName = "highscore.txt";
    // A file with more lines or bytes than this is not the game's own and is never rewritten:
    // storing reads the whole file into memory (about 80 bytes a line). Each line is a whole game,
    // from the menu through a bomb to the list, and the quickest possible one takes seconds: ten
    // million lines are months of play without a single pause. The player is told when the limit
    // is hit.
    static constexpr std::size_t kMostEntries = 10 * 1000 * 1000;
    // The longest line the game writes: the highest score (223), the separator, the longest name.
    static constexpr std::size_t kLongestGameLine = 3 + 10 + kLongestName + 1;
    static constexpr std::size_t kLargestFile = 512 * 1024 * 1024;
    static_assert(kMostEntries * kLongestGameLine < kLargestFile,
                  "a file of the game's own lines meets the line limit first");

    // mostEntries is kMostEntries but in tests, which cannot afford ten million lines.
    explicit HighScoreFile(std::unique_ptr<HighScoreIo> io = std::make_unique<HighScoreIo>(),
                           std::size_t mostEntries = kMostEntries);
    ~HighScoreFile();
    HighScoreFile(const HighScoreFile&) = delete;
    HighScoreFile& operator=(const HighScoreFile&) = delete;

    // Waits until no other game is storing into the same folder, then appends every line of the
    // file at path to entries. A missing file has no entries yet. Returns false when the file
    // exists but could not be read whole, or is a link not to follow (TrustedFile);
    // ReplaceLastFirst then writes nothing.
    bool ReadForUpdate(const std::string& path, std::vector<std::string>& entries);
    // Puts entries, the last one first, in place of the file that ReadForUpdate read, and lets
    // other games in again. On any failure the old file stands as it was. Returns whether the new
    // file is in place.
    bool ReplaceLastFirst(const std::string& path, const std::vector<std::string>& entries);
    // Why the last ReadForUpdate and ReplaceLastFirst stored nothing; no failure after a store.
    const StoreFailure& Failure() const { return failure; }

    // Appends the first maxLines lines of the file at path to entries, each cut to maxBytes. A
    // file that cannot be read gives what could be read before the fault; nothing waits. A link
    // that a store would not follow is not read either.
    static void ReadFirstLines(const std::string& path, std::size_t maxLines, std::size_t maxBytes,
                               std::vector<std::string>& entries);

  private:
    // Keeps the first fault of a store: later ones follow from it.
    void Fail(StoreProblem problem, int error, std::string reason = {});
    bool Replace(const std::vector<std::string>& entries);

    std::unique_ptr<HighScoreIo> io;
    std::size_t mostEntries;
    std::unique_ptr<HighScoreLock> lock;  // held from ReadForUpdate to ReplaceLastFirst
    std::string readPath;                 // the name as given
    std::string target;                   // the file behind that name, symbolic links followed
    bool readWhole = false;
    bool existed = false;
    struct stat facts {};  // what the file was when it was read
    StoreFailure failure;
};
