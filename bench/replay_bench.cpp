#include <benchmark/benchmark.h>

#include <string>

#include "BenchFolder.h"
#include "playback/Prover.h"
#include "replay/Recorder.h"
#include "replay/ReplayFile.h"

namespace {

// Proving the whole scripted 223-point game of the tests, all four levels and the name typed:
// the goal is 50 ms or less for its some 12,600 frames on one core.
void BM_ProveWholeGame(benchmark::State& state) {
    BenchFolder folder;
    replay::Replay game;
    std::string error;
    if (!replay::Load(ARCADE_WHOLE_GAME_REPLAY, game, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    // The kept game proves under whatever version is built.
    game.gameVersion = replay::GameVersion();
    for (auto _ : state) {
        const replay::Verdict verdict = replay::Prove(game);
        if (!verdict.proven) {
            state.SkipWithError(verdict.why.c_str());
            return;
        }
    }
    state.counters["frames_per_second"] = benchmark::Counter(
        static_cast<double>(game.frames.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(std::to_string(game.frames.size()) + " frames");
}
BENCHMARK(BM_ProveWholeGame)->Unit(benchmark::kMillisecond);

}  // namespace
