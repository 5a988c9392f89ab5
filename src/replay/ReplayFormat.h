#pragma once

#include <cstddef>
#include <cstdint>

// The replay file's layout, shared by its reader and its writer (docs/replay-format.md describes
// it). Every replay already kept is written in it: a change here is a new format version.
namespace replay::format {

constexpr char kMagic[] = {'A', 'R', 'P', 'L'};
constexpr std::uint8_t kFormatVersion = 1;

// A record's first byte: the ways held, what happened, and how many frames in a row took it.
constexpr std::uint8_t kLeftBit = 1 << 0;
constexpr std::uint8_t kRightBit = 1 << 1;
constexpr int kEventShift = 2;
constexpr std::uint8_t kEventMask = 7;
constexpr int kRunShift = 5;
constexpr std::uint32_t kShortestLongRun = 8;  // runs of 1 to 7 fit in the first byte
constexpr std::uint8_t kLongRun = 7;

// What a record's event field holds. A fire button hammered every frame repeats the last key, so
// that key is written once and then named by one byte.
enum Code : std::uint8_t { kNone, kKey, kSameKey, kPad, kFocusLost, kQuit };

// FNV-1a over every byte before the sum: a changed byte anywhere is caught before playing.
inline std::uint32_t Checksum(const char* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= static_cast<std::uint8_t>(data[i]);
        hash *= 16777619u;
    }
    return hash;
}

constexpr std::size_t kSumSize = 4;

}  // namespace replay::format
