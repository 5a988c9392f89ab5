#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <string>
#include <vector>

#include "scores/HighScoreIo.h"

// Reads the lines of a file into memory, never more than its limits allow. Only the line feed
// ends a line: a carriage return stays in the text, an empty line is an entry, a last line
// without a line feed is one too.
class LineReader {
  public:
    enum class Result { Missing, Whole, Cut, TooLarge, NotRegular, Failed };

    struct Limits {
        std::size_t lines;
        std::size_t bytesPerLine;
        std::size_t bytes;
        // Reading for a rewrite needs all of the file: one past the limits cannot be stored safely.
        bool whole;
    };

    LineReader(const Limits& limits, HighScoreIo& io) : limits(limits), io(io) {}

    // Appends the lines of the file at path to entries. Stops once limits.lines lines are in, or
    // after limits.bytes bytes: with TooLarge when the whole file was wanted, with Cut otherwise.
    // On Failed, errno tells why.
    Result Read(const std::string& path, std::vector<std::string>& entries);
    // What the file was when it was opened: its size, bits and owner.
    const struct stat& Facts() const { return facts; }

  private:
    bool HasMoreLinesThan(int fd, std::size_t most, std::vector<char>& buffer, bool& more);
    Result ReadOpen(int fd, std::vector<std::string>& entries);

    Limits limits;
    HighScoreIo& io;
    struct stat facts {};
};
