#include <benchmark/benchmark.h>

#include "BenchFolder.h"
#include "engine/GameEngine.h"
#include "engine/GameKey.h"
#include "play/StatePlay.h"

namespace {

// One play frame, update and drawing, over a busy field: the cannon fires in every frame and a
// bomb falls past it in every frame, so about a hundred bullets and eighty bombs are in flight.
// When the game ends (a bomb from an airplane, or all four levels cleared) a new one starts
// outside the timing.
void BM_PlayFrame(benchmark::State& state) {
    BenchFolder folder;
    GameEngine engine;
    auto* play = new StatePlay(engine.GetAssets());
    engine.SetState(play);
    for (auto _ : state) {
        play->KeyPressed(KeySpace);
        play->DropBomb(420, 0);  // clear of the cannon and of every level's shields
        play->MoveSprites();
        if (engine.GetState() != play) {
            state.PauseTiming();
            play = new StatePlay(engine.GetAssets());
            engine.SetState(play);
            state.ResumeTiming();
            continue;
        }
        play->Draw(engine.GetScreen());
    }
}
BENCHMARK(BM_PlayFrame);

}  // namespace
