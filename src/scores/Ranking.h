#pragma once

#include <string>

// The order of the high-score list, as std::sort wants it: whether entry a ranks below entry b.
// The file holds the entries highest first.
//
// Two entries that both begin with a digit rank by the points those digits make, at any length:
// 150 above 23, 05 and 5 alike. Equal points, and any pair where one entry does not begin with a
// digit, go by the bytes of the whole entries, as the list always did. An entry that begins with
// no digit thus stands above or below every scored entry by its first byte alone, which keeps
// the order a strict weak one: empty lines at the very bottom, lines of letters at the top.
bool RanksBelow(const std::string& a, const std::string& b);
