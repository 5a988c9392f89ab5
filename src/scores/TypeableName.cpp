#include "scores/TypeableName.h"

#include "scores/LongestName.h"

namespace {
bool IsNameCharacter(unsigned int character) {
    return character == ' ' || (character >= '0' && character <= '9') ||
           (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z');
}
}  // namespace

// A player still hammering Space when the game ends would otherwise start the name with spaces
// nobody can see in the list.
bool TypingAdds(const std::string& typed, unsigned int character) {
    return typed.size() < kLongestName && IsNameCharacter(character) &&
           !(character == ' ' && typed.empty());
}

std::string WithoutTrailingSpaces(std::string name) {
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

bool CouldBeTyped(const std::string& name) {
    std::string typed;
    for (const char c : name) {
        if (!TypingAdds(typed, static_cast<unsigned char>(c))) {
            return false;
        }
        typed += c;
    }
    // Confirming drops the spaces after a name.
    return typed.empty() || typed.back() != ' ';
}
