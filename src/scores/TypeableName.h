#pragma once

#include <string>

// The rule of the names a player can type after a game, for name entry and for whoever must
// believe a name from elsewhere (a replay sent to the score server).

// Whether typing adds this character (as SDL's key translation gives it) to the name typed so
// far: letters, digits and spaces, no space first, no more than kLongestName characters.
bool TypingAdds(const std::string& typed, unsigned int character);

// Whether typing could ever leave this name: the characters it takes, no space at either end, no
// longer than it lets a name grow.
bool CouldBeTyped(const std::string& name);

// The name as confirming it leaves it: spaces typed after it show nowhere, yet would make it
// another name in the list.
std::string WithoutTrailingSpaces(std::string name);
