#include "random/RandSequence.h"

namespace {

constexpr std::size_t kWords = RandSequence::kWords;
constexpr std::size_t kBack = 3;  // the new word adds the words kBack and kWords places back
constexpr std::size_t kWarmUp = 10 * kWords;  // draws thrown away after seeding

// A polynomial below x^31 with coefficients modulo 2^32, which unsigned arithmetic keeps.
using Terms = std::array<std::uint32_t, kWords>;

// a times b modulo x^31 - x^28 - 1.
Terms Times(const Terms& a, const Terms& b) {
    std::array<std::uint32_t, 2 * kWords - 1> product{};
    for (std::size_t i = 0; i < kWords; ++i) {
        for (std::size_t j = 0; j < kWords; ++j) {
            product[i + j] += a[i] * b[j];
        }
    }
    // x^k = x^(k-3) + x^(k-31): from the top down, so that every term is folded before it is read.
    for (std::size_t k = product.size() - 1; k >= kWords; --k) {
        product[k - kBack] += product[k];
        product[k - kWords] += product[k];
    }
    Terms reduced{};
    for (std::size_t i = 0; i < kWords; ++i) {
        reduced[i] = product[i];
    }
    return reduced;
}

// x^n modulo x^31 - x^28 - 1, by squaring.
Terms PowerOfX(std::uint64_t n) {
    Terms result{};
    result[0] = 1;
    Terms square{};
    square[1] = 1;
    while (n != 0) {
        if ((n & 1) != 0) {
            result = Times(result, square);
        }
        n >>= 1;
        if (n != 0) {
            square = Times(square, square);
        }
    }
    return result;
}

}  // namespace

void RandSequence::Seed(unsigned seed) {
    std::int32_t word = seed == 0 ? 1 : static_cast<std::int32_t>(seed);
    state[0] = static_cast<std::uint32_t>(word);
    // The words start as a multiplicative congruential sequence modulo 2^31 - 1, computed without
    // overflow by Schrage's method.
    for (std::size_t i = 1; i < kWords; ++i) {
        const std::int32_t hi = word / 127773;
        const std::int32_t lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0) {
            word += 2147483647;
        }
        state[i] = static_cast<std::uint32_t>(word);
    }
    front = kBack;
    rear = 0;
    for (std::size_t i = 0; i < kWarmUp; ++i) {
        Draw();
    }
}

int RandSequence::Draw() {
    state[front] += state[rear];
    const auto result = static_cast<int>(state[front] >> 1);
    front = (front + 1) % kWords;
    rear = (rear + 1) % kWords;
    return result;
}

void RandSequence::Skip(std::uint64_t n) {
    // The words from the oldest on, and the 30 that follow them: word j of the sequence n draws
    // on is the sum over i of x^n's term i times word i + j of this one.
    std::array<std::uint32_t, 2 * kWords - 1> words{};
    for (std::size_t i = 0; i < kWords; ++i) {
        words[i] = state[(front + i) % kWords];
    }
    for (std::size_t i = kWords; i < words.size(); ++i) {
        words[i] = words[i - kBack] + words[i - kWords];
    }
    const Terms terms = PowerOfX(n);
    for (std::size_t j = 0; j < kWords; ++j) {
        std::uint32_t word = 0;
        for (std::size_t i = 0; i < kWords; ++i) {
            word += terms[i] * words[i + j];
        }
        state[(front + j) % kWords] = word;
    }
}

void RandSequence::StartAfter(std::uint64_t drawsBefore) {
    Seed(1);
    Skip(drawsBefore);
}
