#include "playback/PlayDigest.h"

#include <cstdio>

namespace replay {
namespace {
// Two unrelated mixes of every value, for 128 bits in all.
constexpr std::uint64_t kFirstStart = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kFirstPrime = 0x100000001b3ULL;
constexpr std::uint64_t kSecondStart = 0x6a09e667f3bcc909ULL;
constexpr std::uint64_t kGolden = 0x9e3779b97f4a7c15ULL;
constexpr std::uint64_t kSecondMultiplier = 0xbf58476d1ce4e5b9ULL;

std::uint64_t RotateLeft(std::uint64_t value, int by) {
    return (value << by) | (value >> (64 - by));
}
}  // namespace

PlayDigest::PlayDigest(std::uint64_t drawsBefore) : first(kFirstStart), second(kSecondStart) {
    Add(drawsBefore);
}

void PlayDigest::AddField(const std::vector<int>& field) {
    // The length first, so that where one frame ends is part of what is kept.
    Add(field.size());
    for (const int value : field) {
        Add(static_cast<std::uint32_t>(value));
    }
}

void PlayDigest::Add(std::uint64_t value) {
    first = (first ^ value) * kFirstPrime;
    second = RotateLeft(second ^ (value * kGolden), 27) * kSecondMultiplier;
}

std::string PlayDigest::Hex() const {
    // The second is finished with a last mix, so that its final values spread to every bit.
    std::uint64_t last = second ^ (second >> 31);
    last *= kGolden;
    last ^= last >> 29;
    char digits[33];
    std::snprintf(digits, sizeof digits, "%016llx%016llx", static_cast<unsigned long long>(first),
                  static_cast<unsigned long long>(last));
    return digits;
}

}  // namespace replay
