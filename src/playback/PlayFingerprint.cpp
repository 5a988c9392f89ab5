#include "playback/PlayFingerprint.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/AirplaneSprite.h"
#include "gfx/PlayerSprite.h"
#include "play/StatePlay.h"

namespace replay {
namespace {

constexpr std::uint64_t kGolden = 0x9e3779b97f4a7c15ULL;
constexpr std::uint64_t kMultiplier = 0xbf58476d1ce4e5b9ULL;
constexpr int kTallyBits = 16;
// The tally of a sample taken before the first point: it counts for nothing.
constexpr std::uint16_t kBeforeThePoints = 0;
// The cannon's places, a step apart from its leftmost (the bound tested before the step, less the
// two pixels a step from the grid's start carries it past): 0 to 199.
constexpr int kLeftmostCannonX = PlayerSprite::kLeftBound - 2;
// An airplane's x in units from a little left of where they wrap round; 0 is none.
constexpr int kLeftmostAirplaneX = AirplaneSprite::kLeftWrapX - AirplaneSprite::kLeftwardStep;
constexpr int kMostByte = 0xff;
// Marks put the airplanes in units of 32 pixels.
constexpr int kMarkUnitShift = 3;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t value) {
    hash ^= value + kGolden + (hash << 6) + (hash >> 2);
    hash *= kMultiplier;
    return hash ^ (hash >> 31);
}

struct Sample {
    std::uint16_t tally;
    int airplane;
    int airplane2;
    int place;
};

std::size_t SampleCount(const std::string& bytes) {
    return bytes.size() / PlayFingerprint::kSampleBytes;
}

Sample SampleAt(const std::string& bytes, std::size_t at) {
    const auto byte = [&bytes, at](std::size_t which) {
        return static_cast<int>(
            static_cast<unsigned char>(bytes[PlayFingerprint::kSampleBytes * at + which]));
    };
    return {static_cast<std::uint16_t>(byte(0) | byte(1) << 8), byte(2), byte(3), byte(4)};
}

int AirplaneUnits(bool inPlay, int x) {
    return inPlay ? std::clamp((x - kLeftmostAirplaneX) / kAirplaneUnit + 1, 1, kMostByte) : 0;
}

bool Near(int a, int b, int apart) {
    return (a == 0) == (b == 0) && std::abs(a - b) <= apart;
}

}  // namespace

void PlayFingerprint::AddField(const std::vector<int>& field) {
    ++frames;
    StatePlay::Glance glance;
    if (frames % kFramesApart != 0 || SampleCount(samples) >= kMostSamples ||
        !StatePlay::GlanceAt(field, glance)) {
        return;
    }
    std::uint16_t tally = kBeforeThePoints;
    if (glance.score > 0) {
        std::uint64_t hash = Mix(0, drawsBefore);
        for (const int number :
             {glance.airplaneHits, glance.airplane2Hits, glance.level, glance.score}) {
            hash = Mix(hash, static_cast<std::uint32_t>(number));
        }
        for (int shift = kTallyBits; shift < 64; shift += kTallyBits) {
            hash ^= hash >> shift;
        }
        tally = static_cast<std::uint16_t>(hash);
        if (tally == kBeforeThePoints) {
            tally = 1;
        }
    }
    const int place =
        std::clamp((glance.cannonX - kLeftmostCannonX) / PlayerSprite::kStep, 0, kMostByte);
    samples += static_cast<char>(tally & 0xff);
    samples += static_cast<char>(tally >> 8);
    samples += static_cast<char>(AirplaneUnits(glance.airplane, glance.airplaneX));
    samples += static_cast<char>(AirplaneUnits(glance.airplane2, glance.airplane2X));
    samples += static_cast<char>(place);
}

Likeness Compare(const std::string& post, const std::string& kept) {
    Likeness likeness;
    for (std::size_t at = 0; at < SampleCount(post); ++at) {
        const Sample sample = SampleAt(post, at);
        if (sample.tally == kBeforeThePoints) {
            continue;
        }
        ++likeness.samples;
        if (at >= SampleCount(kept)) {
            continue;
        }
        const Sample other = SampleAt(kept, at);
        if (other.tally == sample.tally &&
            Near(other.airplane, sample.airplane, kAirplaneUnitsApart) &&
            Near(other.airplane2, sample.airplane2, kAirplaneUnitsApart) &&
            std::abs(other.place - sample.place) <= kPlacesApart) {
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
            const Sample sample = SampleAt(fingerprint, at);
            if (sample.tally == kBeforeThePoints) {
                continue;
            }
            const std::int64_t key =
                static_cast<std::int64_t>(at) << 32 | std::int64_t{sample.tally} << 16 |
                (sample.airplane >> kMarkUnitShift) << 8 | (sample.airplane2 >> kMarkUnitShift);
            const std::uint64_t rank = Mix(0, static_cast<std::uint64_t>(key));
            if (mark < 0 || rank < lowest) {
                lowest = rank;
                mark = key;
            }
        }
        if (mark >= 0) {
            marks.push_back(mark);
        }
    }
    return marks;
}

}  // namespace replay
