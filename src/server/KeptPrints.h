#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace server {

class ScoreStore;

// What proving the kept replays again made of them.
struct ProvenAgain {
    std::size_t lines = 0;   // lines that had no fingerprint
    std::size_t proven = 0;  // of those, proven again: fingerprinted
    double seconds = 0;
    bool stopped = false;  // told to stop before all were proven
};

// Gives every line an older server kept without a fingerprint the fingerprint of its play, by
// proving its replay again (in as many threads side by side), so that a copy of it is known as
// one. A replay that no longer proves keeps an empty fingerprint: its line stays listed, and
// nothing can be found to copy it. Asks stop() between lines whether to stop there; the rest are
// proven at the next start. Nothing, with error set, when the store failed.
std::optional<ProvenAgain> FingerprintKeptGames(ScoreStore& store, unsigned threads,
                                                const std::function<bool()>& stop,
                                                std::string& error);

}  // namespace server
