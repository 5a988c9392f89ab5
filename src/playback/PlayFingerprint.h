#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// A compact trace of a game's play, kept beside each listed game so that a post which follows a
// listed game with some of its inputs changed is known for a copy of it. Once a second of play
// (every kFramesApart frames that moved the field on) it keeps 16 bits of the field: the cannon,
// the airplanes and their hits, the shields, the bombs, the level, the score, and the draws
// before the game. The bullets are left out: a shot dropped from a copy changes only them while
// it would have been in flight, and a shot that hits shows in the airplanes and the score. A
// pause adds no frame of play, so it moves no sample. Samples taken before the player first
// moves or fires are 0: every game with the same draws before it begins alike, and they count
// for none.
class PlayFingerprint {
  public:
    static constexpr std::uint64_t kFramesApart = 50;
    // Some 34 minutes of play in 4 KB, far beyond any whole game; later play is not sampled.
    static constexpr std::size_t kMostSamples = 2048;

    explicit PlayFingerprint(std::uint64_t drawsBefore) : drawsBefore(drawsBefore) {}

    // The field after one frame of play, as StatePlay::WriteField gives it.
    void AddField(const std::vector<int>& field);
    // Two bytes a sample, lowest first.
    const std::string& Bytes() const { return samples; }

  private:
    std::uint64_t drawsBefore;
    std::uint64_t frames = 0;
    bool acted = false;
    std::string samples;
};

// How far a post's play follows a kept one's: of the post's samples taken after its player first
// acted, how many the kept game has too, at the same second of play.
struct Likeness {
    std::size_t samples = 0;
    std::size_t alike = 0;
    double Share() const {
        return samples == 0 ? 0.0 : static_cast<double>(alike) / static_cast<double>(samples);
    }
};
Likeness Compare(const std::string& post, const std::string& kept);

// A post copies a kept game when they are alike at this share of its samples or more, and at
// kLeastAlike samples or more: a few seconds alike, which two short games may be by chance (both
// cannons against one wall before either scores), make no copy. Measured on copies of a whole
// kept game (shots dropped, pauses put in, arrows held a frame longer, 1 to 100 of them) and on
// pairs of honest games (generated, and played by hand): see the README.
constexpr double kCopyAgreement = 0.5;
constexpr std::size_t kLeastAlike = 10;
inline bool Copies(const Likeness& likeness) {
    return likeness.Share() >= kCopyAgreement && likeness.alike >= kLeastAlike;
}

// What a fingerprint is looked up by: for each run of kSamplesAMark samples, the one of them that
// a fixed mix ranks first, as its place and value in one number. A copy agrees with its original
// at most of its samples, and so shares most of these marks; other games share one only where
// their fields happen to be equal at the same second.
constexpr std::size_t kSamplesAMark = 16;
std::vector<std::int64_t> Marks(const std::string& fingerprint);

}  // namespace replay
