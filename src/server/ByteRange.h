#pragma once

#include <cstdint>
#include <string>

namespace server {

// What a Range header asks of a file of size bytes. One range is served as asked; several, or a
// header not understood, get the whole file (which the standard allows), so that no request can
// make the answer larger than the file.
struct ByteRange {
    enum Kind { kWhole, kPart, kUnsatisfiable } kind = kWhole;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

ByteRange RangeOf(const std::string& header, std::uint64_t size);

}  // namespace server
