#include <benchmark/benchmark.h>

#include <memory>

#include "BenchFolder.h"
#include "engine/GameEngine.h"
#include "screens/StateMenu.h"

namespace {

class NoWait : public Clock {
  public:
    Uint32 Ticks() override { return 0; }
    void Delay(Uint32) override {}
};

// One frame over the menu: a full-screen blit and the flip.
void BM_MenuFrame(benchmark::State& state) {
    BenchFolder folder;
    GameEngine engine;
    engine.SetClock(std::make_unique<NoWait>());
    engine.SetState(new StateMenu(engine.GetAssets()));
    for (auto _ : state) {
        engine.RunFrame();
    }
}
BENCHMARK(BM_MenuFrame);

// The confirmed-name overlay renders its prompt anew in every frame.
void BM_ConfirmedNameFrame(benchmark::State& state) {
    BenchFolder folder;
    GameEngine engine;
    engine.SetClock(std::make_unique<NoWait>());
    engine.SetState(new StateMenu(engine.GetAssets()));
    engine.SetEntername();
    engine.SetNameentered();
    for (auto _ : state) {
        engine.RunFrame();
    }
}
BENCHMARK(BM_ConfirmedNameFrame);

}  // namespace
