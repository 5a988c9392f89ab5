#pragma once

#include <cstddef>
#include <string>

namespace storage {

enum class ReadResult { Whole, Missing, NotRegular, TooLarge, Failed };

// Reads the file at path whole into text when it is a regular file of at most most bytes. The file
// is opened without waiting and looked at before a byte is read, so that a pipe, a device or a
// folder in a file's place is refused at once rather than waited on or read without end. Too
// large leaves the first most + 1 bytes in text; Failed leaves the system's reason in error.
ReadResult ReadRegularFile(const std::string& path, std::size_t most, std::string& text,
                           int& error);

}  // namespace storage
