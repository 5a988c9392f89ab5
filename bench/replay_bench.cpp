#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchFolder.h"
#include "engine/GameEngine.h"
#include "playback/Prover.h"
#include "replay/Recorder.h"
#include "replay/ReplayFile.h"
#include "screens/StateMenu.h"

namespace {

// Proving the whole scripted 223-point game of the tests, all four levels and the name typed, in
// its some 12,600 frames on one core: as the score server proves a post, with the play's digest,
// and as R on the high-score list proves the best kept game before watching it, for its verdict
// alone and beside the game's own open window, which the proof neither draws in nor waits for.
// The goal for the latter is 25 ms or less: the window is not to miss a frame.
void BM_ProveWholeGame(benchmark::State& state, replay::Keep keep, bool besideAWindow) {
    BenchFolder folder;
    replay::Replay game;
    std::string error;
    if (!replay::Load(ARCADE_WHOLE_GAME_REPLAY, game, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    // The kept game proves under whatever version is built.
    game.gameVersion = replay::GameVersion();
    std::unique_ptr<GameEngine> running;
    if (besideAWindow) {
        running = std::make_unique<GameEngine>();
        running->SetState(new StateMenu(running->GetAssets()));
        running->RunFrame();
    }
    for (auto _ : state) {
        const replay::Verdict verdict = replay::Prove(game, keep);
        if (!verdict.proven) {
            state.SkipWithError(verdict.why.c_str());
            return;
        }
    }
    state.counters["frames_per_second"] = benchmark::Counter(
        static_cast<double>(game.frames.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(std::to_string(game.frames.size()) + " frames");
}
BENCHMARK_CAPTURE(BM_ProveWholeGame, WithDigest, replay::Keep::Digest, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ProveWholeGame, VerdictBesideAWindow, replay::Keep::VerdictOnly, true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
