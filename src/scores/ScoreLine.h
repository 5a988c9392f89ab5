#pragma once

#include <string>

// One entry of the high-score list as the game stores it: "223 points - Anna". Scores below ten
// get a leading zero, so that every score has at least two digits.
std::string ScoreLine(int points, const std::string& name);
