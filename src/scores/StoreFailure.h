#pragma once

#include <string>

// What kept a score out of the high-score file, sorted by what the player can do about it.
enum class StoreProblem {
    None,
    FolderReadOnly,
    DiskReadOnly,
    DiskFull,
    DiskFailed,
    FileReadOnly,
    FileUnreadable,
    NotRegularFile,
    TooLarge,
    RefusedLink,
    OutOfMemory,
    Other,
};

// Why a store failed: in the player's words for the screen, in the system's for standard error.
class StoreFailure {
  public:
    StoreFailure() = default;
    // reason is the system's account; empty takes the text of error.
    StoreFailure(StoreProblem problem, std::string path, int error, std::string reason = {});

    bool Failed() const { return problem != StoreProblem::None; }
    // One short line for the high-score screen, e.g. "Score not saved: the folder is read-only".
    std::string Notice() const;
    // One line for standard error: the file's path and the system's reason.
    std::string LogLine() const;

  private:
    StoreProblem problem = StoreProblem::None;
    std::string path;
    std::string reason;
};

// The problem a failed system call while writing the new file stands for.
StoreProblem ProblemOfWriting(int error);
// The problem a failed system call while reading the old file stands for.
StoreProblem ProblemOfReading(int error);
