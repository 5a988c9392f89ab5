#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// What a game's play was, kept as a proof goes: the draws before it, then the field after every
// frame that moved it on, from the menu's Enter to the game's end. The keys that made the play and
// the name typed after it are no part of it, so a replay encoded otherwise, one with an arrow held
// against a wall, or one paused somewhere has the digest of the game it copies.
//
// Not a cryptographic hash: two games match only by playing alike, and no one gains from two
// different games that match by chance, which 128 bits make unheard of anyway.
class PlayDigest {
  public:
    explicit PlayDigest(std::uint64_t drawsBefore);

    // The field after one frame of play, as StatePlay::WriteField gives it.
    void AddField(const std::vector<int>& field);
    // 32 hexadecimal digits.
    std::string Hex() const;

  private:
    void Add(std::uint64_t value);

    std::uint64_t first;
    std::uint64_t second;
};

}  // namespace replay
