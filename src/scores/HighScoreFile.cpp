#include "scores/HighScoreFile.h"

#include <errno.h>

#include <limits>

#include "scores/FileReplacer.h"
#include "scores/LineReader.h"
#include "scores/TrustedFile.h"

namespace {
constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();
// The list reads its few lines from the start of the file and gives up on a first line longer
// than this: a file of any size opens the list at once.
constexpr std::size_t kLongestListScan = 32 * 1024 * 1024;
}  // namespace

HighScoreFile::HighScoreFile(std::unique_ptr<HighScoreIo> io, std::size_t mostEntries)
    : io(std::move(io)), mostEntries(mostEntries) {}

HighScoreFile::~HighScoreFile() = default;

bool HighScoreFile::ReadForUpdate(const std::string& path, std::vector<std::string>& entries) {
    readPath = path;
    failure = StoreFailure();
    readWhole = false;
    lock.reset();  // a lock still held from an earlier read would make us wait on ourselves
    if (!TrustedFile(path, target, failure)) {
        return false;
    }
    lock = std::make_unique<HighScoreLock>(FileReplacer::FolderOf(target), target);
    LineReader reader({mostEntries + 1, kUnlimited, kLargestFile, true}, *io);
    const LineReader::Result result = reader.Read(target, entries);
    const int error = errno;
    existed = result != LineReader::Result::Missing;
    facts = reader.Facts();
    // Writing after a short read would put a file with fewer entries in place of this one.
    readWhole = result == LineReader::Result::Missing || result == LineReader::Result::Whole;
    if (result == LineReader::Result::TooLarge) {
        Fail(StoreProblem::TooLarge, 0,
             "more than " + std::to_string(kLargestFile) + " bytes or " +
                 std::to_string(mostEntries) + (mostEntries == 1 ? " line" : " lines") +
                 ": not a file this game wrote");
    } else if (result == LineReader::Result::NotRegular) {
        Fail(StoreProblem::NotRegularFile, 0, "not a regular file");
    } else if (!readWhole) {
        Fail(ProblemOfReading(error), error);
    }
    if (!readWhole) {
        lock.reset();
    }
    return readWhole;
}

bool HighScoreFile::ReplaceLastFirst(const std::string& path,
                                     const std::vector<std::string>& entries) {
    if (!readWhole) {
        Fail(StoreProblem::Other, 0, "the file was not read whole before the store");
    } else if (path != readPath) {
        Fail(StoreProblem::Other, 0, "read as " + readPath + ", stored as " + path);
    }
    const bool replaced = readWhole && path == readPath && Replace(entries);
    readWhole = false;
    lock.reset();
    return replaced;
}

void HighScoreFile::Fail(StoreProblem problem, int error, std::string reason) {
    if (!failure.Failed()) {
        failure = StoreFailure(problem, readPath, error, std::move(reason));
    }
}

bool HighScoreFile::Replace(const std::vector<std::string>& entries) {
    FileReplacer replacer(*io);
    if (replacer.Replace(target, existed ? &facts : nullptr, lock != nullptr && lock->OnFolder(),
                         entries)) {
        return true;
    }
    const FileReplacer::Fault& fault = replacer.FaultOf();
    Fail(fault.problem, fault.error, fault.reason);
    return false;
}

void HighScoreFile::ReadFirstLines(const std::string& path, std::size_t maxLines,
                                   std::size_t maxBytes, std::vector<std::string>& entries) {
    if (maxLines == 0) {
        return;
    }
    std::string target;
    StoreFailure refused;
    if (!TrustedFile(path, target, refused)) {
        return;  // what a store would not touch, the list does not show either
    }
    HighScoreIo plain;
    LineReader({maxLines, maxBytes, kLongestListScan, false}, plain).Read(target, entries);
}
