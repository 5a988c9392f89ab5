#pragma once

#include <array>
#include <cstdint>

#include "random/Random.h"

// The desktop C library's rand() sequence (an additive feedback generator over 31 words), computed
// from a state of its own. The browser's library draws a different sequence, and a proof must not
// share the process's one sequence with another running beside it; both draw from one of these.
//
// Each new word is the sum of the words 3 and 31 places back, modulo 2^32, and a draw is a word
// shifted right by one. That is a linear recurrence, so n draws ahead is x^n modulo its
// characteristic polynomial x^31 - x^28 - 1: a jump of n draws costs some log2(n) products of two
// polynomials of 31 terms, not n draws.
class RandSequence final : public Random {
  public:
    // As an unseeded run starts.
    RandSequence() { Seed(1); }

    // As srand(seed) starts the library's sequence.
    void Seed(unsigned seed);
    int Draw() override;
    // Moves on as n draws would.
    void Skip(std::uint64_t n);
    void StartAfter(std::uint64_t drawsBefore) override;

    static constexpr std::size_t kWords = 31;

  private:
    // The 31 newest words, the oldest at front; the next word is the oldest plus the one at rear.
    std::array<std::uint32_t, kWords> state{};
    std::size_t front = 0;
    std::size_t rear = 0;
};
