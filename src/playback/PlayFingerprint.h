#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// A compact trace of a game's play, kept beside each listed game so that a post which follows a
// listed game with some of its inputs changed is known for a copy of it. Once a second of play
// (every kFramesApart frames that moved the field on) it keeps the tally (the score, the level,
// the hits the airplanes have left, and the draws before the game) as 16 bits, where each
// airplane is (if in play) and where the cannon stands.
//
// Two samples are alike when their tallies are equal and the airplanes and the cannon are a few
// pixels apart at most. A shot dropped from a copy, a pause put in or an arrow held a frame longer
// leaves the score as it was, or moves a hit by a frame or two, and the airplanes (and the bombs
// they drop) by a few pixels; the cannon an arrow held longer moves stays three pixels off until
// it meets a wall. Two games played apart hit the airplanes at other moments and stand elsewhere.
// The bullets are left out: a shot dropped changes only them while it would have been in flight.
// A pause adds no frame of play, so it moves no sample. Until the first point every game with the
// same draws before is alike whatever the player does, so the seconds before it count for nothing.
class PlayFingerprint {
  public:
    static constexpr std::uint64_t kFramesApart = 50;
    // Ten minutes of play in 3 KB, more than twice the longest whole game; later play is not
    // sampled.
    static constexpr std::size_t kMostSamples = 600;
    static constexpr std::size_t kSampleBytes = 5;

    explicit PlayFingerprint(std::uint64_t drawsBefore) : drawsBefore(drawsBefore) {}

    // The field after one frame of play, as StatePlay::WriteField gives it.
    void AddField(const std::vector<int>& field);
    // kSampleBytes a sample: the tally, lowest byte first, then the first airplane's x and the
    // second's in units of kAirplaneUnit pixels (0 for none), and the cannon's place.
    const std::string& Bytes() const { return samples; }

  private:
    std::uint64_t drawsBefore;
    std::uint64_t frames = 0;
    std::string samples;
};

constexpr int kAirplaneUnit = 4;        // pixels
constexpr int kAirplaneUnitsApart = 3;  // an airplane 12 pixels away is alike
constexpr int kPlacesApart = 4;         // and so is the cannon, four steps of three pixels away

// How far a post's play follows a kept one's: of the post's samples taken since its first point,
// how many the kept game has alike at the same second of play.
struct Likeness {
    std::size_t samples = 0;
    std::size_t alike = 0;
    double Share() const {
        return samples == 0 ? 0.0 : static_cast<double>(alike) / static_cast<double>(samples);
    }
};
Likeness Compare(const std::string& post, const std::string& kept);

// A post copies a kept game when they are alike at this share of its samples or more, and at
// kLeastAlike samples or more: a few seconds alike, as two short games may be by chance, make no
// copy. Measured on copies of kept games (shots dropped, pauses put in, arrows held a frame
// longer, 1 to 100 of them) and on pairs of honest games (generated, and played by hand): see the
// README.
constexpr double kCopyAgreement = 0.5;
constexpr std::size_t kLeastAlike = 10;
inline bool Copies(const Likeness& likeness) {
    return likeness.Share() >= kCopyAgreement && likeness.alike >= kLeastAlike;
}

// What a fingerprint is looked up by: for each run of kSamplesAMark samples, the one that a fixed
// mix ranks first, as one number: its place in the play, its tally and where its airplanes are to
// 32 pixels. A copy is alike with its original at most of its samples, and so shares most of
// these marks; other games share one only where their tallies are equal at the same second and
// their airplanes near.
constexpr std::size_t kSamplesAMark = 16;
std::vector<std::int64_t> Marks(const std::string& fingerprint);

}  // namespace replay
