#pragma once

#include <cstddef>

// The most characters of a name a score is stored under: name entry stops there, and the
// high-score file's bound on the lines the game writes counts on it.
constexpr std::size_t kLongestName = 17;
