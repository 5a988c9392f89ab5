#include "scores/ScoreLine.h"

namespace {
constexpr const char* kSeparator = " points - ";
constexpr int kFirstTwoDigitScore = 10;
}  // namespace

std::string ScoreLine(int points, const std::string& name) {
    std::string line = points < kFirstTwoDigitScore ? "0" : "";
    line += std::to_string(points);
    line += kSeparator;
    line += name;
    return line;
}
