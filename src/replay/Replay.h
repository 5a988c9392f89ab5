#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// What the game took in one frame: the one event it read (if any it answers) and the ways held.
// Events the game ignores are kept as no event at all: they change nothing.
struct Taken {
    enum class Event : std::uint8_t { None, Key, PadButton, FocusLost, Quit };
    Event event = Event::None;
    std::uint16_t sym = 0;      // a key's SDLKey
    std::uint16_t mod = 0;      // a key's SDLMod
    std::uint16_t unicode = 0;  // a key's character, which name typing reads
    std::uint8_t button = 0;    // a gamepad button
    bool left = false;          // held arrows or pad, as the game read them this frame
    bool right = false;

    bool operator==(const Taken& other) const {
        return event == other.event && sym == other.sym && mod == other.mod &&
               unicode == other.unicode && button == other.button && left == other.left &&
               right == other.right;
    }
    bool operator!=(const Taken& other) const { return !(*this == other); }
};

// One game from the Enter on the menu that starts it to the Enter that stores its score, with
// what the game needs to start in the same state and what the game is said to have made.
struct Replay {
    std::string gameVersion;
    // rand() is never seeded: the bombs of a game depend on how many draws the games before it
    // in the same run made.
    std::uint64_t drawsBefore = 0;
    std::string nameBefore;  // name typing starts from the previous game's name
    std::uint32_t points = 0;
    std::string name;
    std::vector<Taken> frames;
};

// The bounds every replay keeps, so that no file can make the game read, hold or run without end.
namespace limits {
constexpr std::uint32_t kMostFrames = 50 * 60 * 60 * 2;  // two hours at 50 frames a second
// Some four thousand whole games in one run; skipping them takes well under a second.
constexpr std::uint64_t kMostDrawsBefore = 100'000'000;
constexpr std::uint32_t kMostPoints = 1'000'000;
constexpr std::size_t kLongestText = 64;           // a version or a name
constexpr std::size_t kLargestFile = 1024 * 1024;  // two hours of changes every frame fit
}  // namespace limits

}  // namespace replay
