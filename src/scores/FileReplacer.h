#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "scores/HighScoreIo.h"
#include "scores/StoreFailure.h"
#include "storage/DurableFile.h"

// Puts the high-score file's new lines in place of the old ones for good (storage::DurableFile).
// Whoever reads the file finds the old one or the new one, whole; a game killed half way leaves
// the old file standing and a leftover beside it that the next store clears.
class FileReplacer {
  public:
    // What kept the new file out: the first fault, since later ones follow from it.
    struct Fault {
        StoreProblem problem = StoreProblem::None;
        int error = 0;
        std::string reason;  // empty: the text of error says it
    };

    explicit FileReplacer(HighScoreIo& io) : io(io) {}

    // The folder a file lies in, "." for a bare name.
    static std::filesystem::path FolderOf(const std::filesystem::path& file);

    // Writes entries, the last one first, each ending in a line feed, and puts them in place of
    // target; the file's bits and owner carry over. old holds what the file there was, or is null
    // when there is none yet. clearLeftovers says that no other game can be writing into the folder
    // now, so that any leftover there is one of a killed game. On any failure the old file stands
    // as it was, and FaultOf tells why.
    bool Replace(const std::filesystem::path& target, const struct stat* old, bool clearLeftovers,
                 const std::vector<std::string>& entries);
    const Fault& FaultOf() const { return fault; }

  private:
    void Fail(StoreProblem problem, int error, std::string reason = {});
    bool WriteLastFirst(storage::DurableFile& file, const std::vector<std::string>& entries);

    HighScoreIo& io;
    Fault fault;
};
