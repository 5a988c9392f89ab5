#include "scores/Ranking.h"

#include <string_view>

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits an entry begins with, without leading zeros: its points, however many digits long,
// so that no number is ever parsed and none can overflow.
std::string_view PointsOf(std::string_view entry) {
    std::size_t end = 0;
    while (end < entry.size() && IsDigit(entry[end])) {
        ++end;
    }
    std::size_t start = 0;
    while (start < end && entry[start] == '0') {
        ++start;
    }
    return entry.substr(start, end - start);
}
}  // namespace

bool RanksBelow(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty() || !IsDigit(a[0]) || !IsDigit(b[0])) {
        return a < b;
    }
    const std::string_view pointsA = PointsOf(a);
    const std::string_view pointsB = PointsOf(b);
    // Without leading zeros, the number with fewer digits is the smaller one.
    if (pointsA.size() != pointsB.size()) {
        return pointsA.size() < pointsB.size();
    }
    const int points = pointsA.compare(pointsB);
    return points != 0 ? points < 0 : a < b;
}
