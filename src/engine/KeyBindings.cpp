#include "engine/KeyBindings.h"

#include <algorithm>
#include <cctype>

bool KeyBindings::AnyDown(const std::vector<SDLKey>& keys, const Uint8* state) {
    return std::any_of(keys.begin(), keys.end(), [state](SDLKey key) { return state[key] != 0; });
}

bool KeyBindings::Fires(SDLKey key) const {
    return std::find(fire.begin(), fire.end(), key) != fire.end();
}

std::optional<SDLKey> KeyOfWord(const std::string& word) {
    if (word.size() != 1 || std::isalnum(static_cast<unsigned char>(word[0])) == 0) {
        return std::nullopt;
    }
    // SDL's keys for letters and digits are their lower-case characters.
    return static_cast<SDLKey>(std::tolower(static_cast<unsigned char>(word[0])));
}
