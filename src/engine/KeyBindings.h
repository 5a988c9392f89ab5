#pragma once

#include <SDL.h>

#include <optional>
#include <string>
#include <vector>

// Keys the player binds in the settings to move and fire, besides the arrows and Space (which
// always work). They count only while no name is typed: there they are letters of it.
struct KeyBindings {
    std::vector<SDLKey> left;
    std::vector<SDLKey> right;
    std::vector<SDLKey> fire;

    // Whether any of keys is down in SDL's key state.
    static bool AnyDown(const std::vector<SDLKey>& keys, const Uint8* state);
    bool Fires(SDLKey key) const;
};

// A letter or a digit as the settings name a key ("a", "D", "7"); nothing for any other word.
std::optional<SDLKey> KeyOfWord(const std::string& word);
