// Any bytes as the high-score file: the list shows its first lines, and a store keeps every line
// of it, adds the new one, keeps the order the game writes, and leaves no temporary file behind.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "engine/GameEngine.h"
#include "screens/StateAddScore.h"
#include "screens/StateShowScore.h"
#include "support/Frames.h"
#include "support/HighScores.h"
#include "support/Scratch.h"

namespace {
constexpr const char* kFile = "highscore.txt";
constexpr std::size_t kListLines = 28;
constexpr std::size_t kLongestListLine = 128;
constexpr int kScore = 7;
constexpr const char* kNewLine = "07 points - Fuzz";

GameEngine* engine = nullptr;
std::string folder;

void Require(bool holds, const char* what) {
    if (!holds) {
        fprintf(stderr, "highscore fuzz: %s\n", what);
        abort();
    }
}

// What the list shows of a file with these lines.
std::vector<std::string> ListOf(const std::vector<std::string>& lines) {
    std::vector<std::string> shown;
    for (std::size_t i = 0; i < lines.size() && i < kListLines; ++i) {
        shown.push_back(lines[i].substr(0, kLongestListLine));
    }
    return shown;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    folder = EnterFuzzFolder("arcade-fuzz-highscore");
    engine = new GameEngine();  // lives as long as the process: SDL is set up once
    engine->SetClock(std::make_unique<SteppingClock>());
    ConfirmName(*engine, "Fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    WriteWholeFile(kFile, bytes);
    const std::vector<std::string> old = SplitLines(bytes);

    // The list straight from the menu.
    {
        StateShowScore list(engine->GetAssets());
        Require(list.GetEntries() == ListOf(old), "the list is not the file's first lines");
    }

    // A store, as Enter on the add-score screen makes it.
    auto* screen = new StateAddScore(engine->GetAssets());
    screen->SetScore(kScore);
    engine->SetState(screen);
    screen->KeyPressed(KeyEnter);
    const auto* list = dynamic_cast<StateShowScore*>(engine->GetState());
    Require(list != nullptr, "no list after the store");
    Require(list->GetNotice().empty(), "the store failed");

    std::vector<std::string> expected = old;
    expected.push_back(kNewLine);
    const std::string stored = ReadWholeFile(kFile);
    Require(stored == FileOf(expected), "a line lost, added twice or out of order");
    Require(list->GetEntries() == ListOf(SplitLines(stored)), "the list is not the stored file");
    Require(Leftovers(folder).empty(), "a temporary file was left behind");
    engine->SetState(nullptr);
    return 0;
}
