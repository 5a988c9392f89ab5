// rand() as the desktop's C library computes it, in place of the browser libc's own, so that the
// game's bombs fall in the same frames in both builds.
#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

// An additive feedback generator over 31 words: each output adds the word three places back.
class AdditiveFeedback {
  public:
    explicit AdditiveFeedback(unsigned seed) { Seed(seed); }

    void Seed(unsigned seed) {
        std::int32_t word = seed == 0 ? 1 : static_cast<std::int32_t>(seed);
        state[0] = static_cast<std::uint32_t>(word);
        // The words start as a multiplicative congruential sequence modulo 2^31 - 1, computed
        // without overflow by Schrage's method.
        for (std::size_t i = 1; i < kWords; ++i) {
            const std::int32_t hi = word / 127773;
            const std::int32_t lo = word % 127773;
            word = 16807 * lo - 2836 * hi;
            if (word < 0) {
                word += 2147483647;
            }
            state[i] = static_cast<std::uint32_t>(word);
        }
        front = kSeparation;
        rear = 0;
        for (std::size_t i = 0; i < kWarmUp; ++i) {
            Next();
        }
    }

    int Next() {
        state[front] += state[rear];
        const auto result = static_cast<int>(state[front] >> 1);
        front = (front + 1) % kWords;
        rear = (rear + 1) % kWords;
        return result;
    }

  private:
    static constexpr std::size_t kWords = 31;
    static constexpr std::size_t kSeparation = 3;
    static constexpr std::size_t kWarmUp = 10 * kWords;  // outputs thrown away after seeding

    std::array<std::uint32_t, kWords> state{};
    std::size_t front = 0;
    std::size_t rear = 0;
};

// The C interface keeps one sequence for the program, as the library's own does.
AdditiveFeedback& Sequence() {
    static AdditiveFeedback sequence(1);
    return sequence;
}

}  // namespace

extern "C" int rand() {
    return Sequence().Next();
}

extern "C" void srand(unsigned seed) {
    Sequence().Seed(seed);
}
