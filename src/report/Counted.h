#pragma once

#include <cstdint>
#include <string>

// A count and what it counts, as a message says it: "1 line", "0 lines", "3 lines".
inline std::string Counted(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}
