#include "server/KeptPrints.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "playback/Prover.h"
#include "replay/ReplayFile.h"
#include "server/ScoreStore.h"

namespace server {
namespace {

// Lines read and proven at a time: enough to keep every thread busy, few enough to hold.
constexpr std::size_t kBatch = 256;

struct Made {
    bool tried = false;
    std::string play;
    std::string fingerprint;
};

Made Reprove(const std::string& bytes) {
    Made made;
    made.tried = true;
    replay::Replay game;
    std::string ignored;
    if (!replay::Decode(bytes, game, ignored)) {
        return made;
    }
    const replay::Verdict verdict = replay::Prove(game);
    if (verdict.proven) {
        made.play = verdict.digest;
        made.fingerprint = verdict.fingerprint;
    }
    return made;
}

}  // namespace

std::optional<ProvenAgain> FingerprintKeptGames(ScoreStore& store, unsigned threads,
                                                const std::function<bool()>& stop,
                                                std::string& error) {
    const auto started = std::chrono::steady_clock::now();
    ProvenAgain done;
    std::int64_t after = 0;
    while (!done.stopped) {
        const auto lines = store.Unprinted(after, kBatch, error);
        if (!lines) {
            return std::nullopt;
        }
        if (lines->empty()) {
            break;
        }
        std::vector<Made> made(lines->size());
        std::atomic<std::size_t> next{0};
        std::vector<std::thread> provers;
        for (unsigned t = 0; t < std::max(threads, 1u); ++t) {
            provers.emplace_back([&] {
                for (std::size_t at = next++; at < made.size() && !stop(); at = next++) {
                    made[at] = Reprove((*lines)[at].replay);
                }
            });
        }
        for (std::thread& prover : provers) {
            prover.join();
        }
        std::vector<ScoreStore::Reproven> proven;
        for (std::size_t at = 0; at < made.size(); ++at) {
            // A line left unproven by a stop is proven at the next start.
            if (!made[at].tried) {
                done.stopped = true;
                continue;
            }
            proven.push_back({(*lines)[at].replayId, made[at].play, made[at].fingerprint});
            done.proven += made[at].fingerprint.empty() ? 0 : 1;
        }
        if (!store.SetPrints(proven, error)) {
            return std::nullopt;
        }
        done.lines += proven.size();
        after = lines->back().replayId;
        done.stopped = done.stopped || stop();
    }
    done.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return done;
}

}  // namespace server
