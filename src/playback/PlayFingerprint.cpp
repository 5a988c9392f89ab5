#include "playback/PlayFingerprint.h"

#include "play/PlayRules.h"
#include "play/StatePlay.h"

namespace replay {
namespace {

constexpr std::uint64_t kGolden = 0x9e3779b97f4a7c15ULL;
constexpr std::uint64_t kMultiplier = 0xbf58476d1ce4e5b9ULL;
constexpr int kSampleBits = 16;
constexpr std::uint16_t kBeforeActing = 0;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t value) {
    hash ^= value + kGolden + (hash << 6) + (hash >> 2);
    hash *= kMultiplier;
    return hash ^ (hash >> 31);
}

std::size_t SampleCount(const std::string& bytes) {
    return bytes.size() / 2;
}

std::uint16_t SampleAt(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[2 * at]) |
                                      static_cast<unsigned char>(bytes[2 * at + 1]) << 8);
}

}  // namespace

void PlayFingerprint::AddField(const std::vector<int>& field) {
    ++frames;
    const std::size_t bullets = StatePlay::BulletsInField(field);
    if (bullets >= field.size() || field.size() <= StatePlay::kCannonXInField) {
        return;  // not a field WriteField wrote
    }
    const std::size_t afterBullets = bullets + 1 + 3 * static_cast<std::size_t>(field[bullets]);
    if (field[bullets] < 0 || afterBullets > field.size()) {
        return;
    }
    acted = acted || field[StatePlay::kCannonXInField] != play::kCannonStart.x ||
            afterBullets > bullets + 1;
    if (frames % kFramesApart != 0 || SampleCount(samples) >= kMostSamples) {
        return;
    }
    std::uint16_t sample = kBeforeActing;
    if (acted) {
        std::uint64_t hash = Mix(0, drawsBefore);
        for (std::size_t i = 0; i < field.size(); ++i) {
            if (i < bullets || i >= afterBullets) {
                hash = Mix(hash, static_cast<std::uint32_t>(field[i]));
            }
        }
        for (int shift = kSampleBits; shift < 64; shift += kSampleBits) {
            hash ^= hash >> shift;
        }
        sample = static_cast<std::uint16_t>(hash);
        if (sample == kBeforeActing) {
            sample = 1;
        }
    }
    samples += static_cast<char>(sample & 0xff);
    samples += static_cast<char>(sample >> 8);
}

Likeness Compare(const std::string& post, const std::string& kept) {
    Likeness likeness;
    for (std::size_t at = 0; at < SampleCount(post); ++at) {
        const std::uint16_t sample = SampleAt(post, at);
        if (sample == kBeforeActing) {
            continue;
        }
        ++likeness.samples;
        if (at < SampleCount(kept) && SampleAt(kept, at) == sample) {
            ++likeness.alike;
        }
    }
    return likeness;
}

std::vector<std::int64_t> Marks(const std::string& fingerprint) {
    std::vector<std::int64_t> marks;
    const std::size_t count = SampleCount(fingerprint);
    for (std::size_t first = 0; first < count; first += kSamplesAMark) {
        std::uint64_t lowest = 0;
        std::int64_t mark = -1;
        for (std::size_t at = first; at < count && at < first + kSamplesAMark; ++at) {
            const std::uint16_t sample = SampleAt(fingerprint, at);
            if (sample == kBeforeActing) {
                continue;
            }
            const std::uint64_t rank = Mix(at, sample);
            if (mark < 0 || rank < lowest) {
                lowest = rank;
                mark = static_cast<std::int64_t>(at) << kSampleBits | sample;
            }
        }
        if (mark >= 0) {
            marks.push_back(mark);
        }
    }
    return marks;
}

}  // namespace replay
