// What a posted game costs the score server: the whole four-level game proven through the gate's
// workers, one or one per core, and the draws a post may ask to skip before its game, jumped by
// the prover's own sequence against the C library drawn one by one (as proofs once did).
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "BenchFolder.h"
#include "playback/Prover.h"
#include "random/LibraryRandom.h"
#include "random/RandSequence.h"
#include "replay/Recorder.h"
#include "replay/ReplayFile.h"
#include "server/ProvingGate.h"

namespace {

constexpr std::uint64_t kMostDrawsBefore = replay::limits::kMostDrawsBefore;

bool LoadWholeGame(replay::Replay& game, benchmark::State& state) {
    std::string error;
    if (!replay::Load(ARCADE_WHOLE_GAME_REPLAY, game, error)) {
        state.SkipWithError(error.c_str());
        return false;
    }
    game.gameVersion = replay::GameVersion();
    return true;
}

// Games a second through the gate with this many workers, kept full: the parallel rate against
// the single-core one.
void BM_ProveWholeGamesThroughTheGate(benchmark::State& state) {
    BenchFolder folder;
    replay::Replay game;
    if (!LoadWholeGame(game, state)) {
        return;
    }
    const auto workers = static_cast<unsigned>(state.range(0));
    constexpr int kGamesAtOnce = 8;
    server::ProvingGate gate(kGamesAtOnce, workers);
    for (auto _ : state) {
        std::mutex lock;
        std::condition_variable answered;
        int left = kGamesAtOnce;
        bool allProven = true;
        for (int i = 0; i < kGamesAtOnce; ++i) {
            gate.Submit(game, [&](const replay::Verdict& verdict) {
                std::lock_guard<std::mutex> held(lock);
                allProven = allProven && verdict.proven;
                --left;
                answered.notify_one();
            });
        }
        std::unique_lock<std::mutex> held(lock);
        answered.wait(held, [&] { return left == 0; });
        if (!allProven) {
            state.SkipWithError("the whole game was not proven");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kGamesAtOnce);
    state.SetLabel(std::to_string(workers) + " worker(s), " +
                   std::to_string(std::thread::hardware_concurrency()) + " core(s)");
}
BENCHMARK(BM_ProveWholeGamesThroughTheGate)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The dearest post of its size: the most draws a replay may ask to skip, then one frame.
void BM_ProveAPostThatSkipsTheMostDraws(benchmark::State& state) {
    BenchFolder folder;
    replay::Replay post;
    post.gameVersion = replay::GameVersion();
    post.drawsBefore = kMostDrawsBefore;
    post.points = 1;
    post.frames.resize(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(replay::Prove(post));
    }
}
BENCHMARK(BM_ProveAPostThatSkipsTheMostDraws)->Unit(benchmark::kMicrosecond);

void BM_JumpAhead(benchmark::State& state) {
    const auto n = static_cast<std::uint64_t>(state.range(0));
    RandSequence sequence;
    for (auto _ : state) {
        sequence.Skip(n);
        benchmark::DoNotOptimize(sequence);
    }
}
BENCHMARK(BM_JumpAhead)
    ->Arg(1000)
    ->Arg(1'000'000)
    ->Arg(kMostDrawsBefore)
    ->Arg(INT64_MAX)
    ->Unit(benchmark::kMicrosecond);

// What every proof of such a post did before it had a sequence of its own.
void BM_StartTheCLibraryAfterTheMostDraws(benchmark::State& state) {
    LibraryRandom library;
    for (auto _ : state) {
        library.StartAfter(kMostDrawsBefore);
    }
}
BENCHMARK(BM_StartTheCLibraryAfterTheMostDraws)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
