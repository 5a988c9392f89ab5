#pragma once

#include <cstdint>
#include <string>

// A count and what it counts, as a message says it: "1 line", "0 lines", "3 lines".
inline std::string Counted(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A place as a message says it: 1st, 2nd, 3rd, 4th, ..., 11th, 12th, 13th, ..., 21st, ..., 111th.
inline std::string Ordinal(std::uint64_t number) {
    const std::uint64_t lastTwo = number % 100;
    const std::uint64_t last = number % 10;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        suffix = last == 1 ? "st" : last == 2 ? "nd" : last == 3 ? "rd" : "th";
    }
    return std::to_string(number) + suffix;
}
