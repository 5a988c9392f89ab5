#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "BenchFolder.h"
#include "engine/GameEngine.h"
#include "screens/StateAddScore.h"
#include "screens/StateShowScore.h"

namespace {
constexpr int kStoredLines = 10000;

void WriteScores(const std::string& path, int lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < lines; ++i) {
        out << (100000 - i) << " points - Player " << (i % 97) << '\n';
    }
}

// Enter on the add-score screen up to the list: read, add, sort and put in place a file of ten
// thousand lines, under the folder lock and with the file synced. The file grows by one line per
// iteration, which hardly matters against ten thousand.
void BM_StoreOneScore(benchmark::State& state) {
    BenchFolder folder;
    GameEngine engine;
    WriteScores("highscore.txt", kStoredLines);
    for (auto _ : state) {
        auto* screen = new StateAddScore(engine.GetAssets());
        screen->SetScore(42);
        engine.SetState(screen);
        screen->ReadFile();
        screen->AddScore();
        screen->SortScore();
        screen->WriteFile();
    }
}
BENCHMARK(BM_StoreOneScore)->Unit(benchmark::kMillisecond);

// Building the list over the same file: its first 28 lines read and rendered.
void BM_BuildScoreList(benchmark::State& state) {
    BenchFolder folder;
    GameEngine engine;
    WriteScores("highscore.txt", kStoredLines);
    for (auto _ : state) {
        StateShowScore list(engine.GetAssets());
        benchmark::DoNotOptimize(list.ShownCount());
    }
}
BENCHMARK(BM_BuildScoreList)->Unit(benchmark::kMillisecond);
}  // namespace
