// Plays the game at random for a given number of frames, through every screen, with keys, gamepad
// buttons and stick, and focus changes, storing scores into a real file in a scratch folder: no
// crash, every stored line kept in order, and the resident size no higher at the end than after
// the first tenth of the frames, give or take.
//
//   arcade-soak FRAMES [SEED] [GROWTH_KB]
//
// GROWTH_KB (default 2048) is how much the resident size may grow; 0 only reports it.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "RandomPlayer.h"
#include "engine/GameEngine.h"
#include "play/StatePlay.h"
#include "playback/BestGame.h"
#include "scores/Ranking.h"
#include "screens/StateAddScore.h"
#include "screens/StateGameOver.h"
#include "screens/StateMenu.h"
#include "screens/StateShowScore.h"
#include "support/Frames.h"
#include "support/HighScores.h"
#include "support/Scratch.h"

namespace {
constexpr long kDefaultGrowthKb = 2048;
constexpr std::uint32_t kDefaultSeed = 9;
constexpr long kSampleEvery = 100000;

long PixelsKb(const SDL_Surface* surface) {
    return surface != nullptr ? long{surface->pitch} * surface->h / 1024 : 0;
}

// The resident size less the window's own pixels: Page Up grows the window up to 8 x 8 times
// the frame, some 75 MB, and whichever scale the player happens to end on is no growth of the
// game's. Nor is the frame's own picture, which any scale but 1 keeps beside the window.
long ResidentKb(GameEngine& engine) {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    const SDL_Surface* window = SDL_GetVideoSurface();
    const SDL_Surface* frame = engine.GetScreen();
    const long shownKb = PixelsKb(window) + (frame != window ? PixelsKb(frame) : 0);
    return resident * (sysconf(_SC_PAGESIZE) / 1024) - shownKb;
}

// A game as main starts it, with a clock that moves by the frame waits alone and the player's
// gamepad plugged in.
std::unique_ptr<GameEngine> StartGame(RandomPlayer& player) {
    auto engine = std::make_unique<GameEngine>();
    engine->Watches().SetFinder(replay::FindBestGame);
    engine->SetClock(std::make_unique<SteppingClock>());
    engine->SetGamepad(player.NewPad());
    engine->SetState(new StateMenu(engine->GetAssets()));
    return engine;
}

const char* ScreenName(GameState* state) {
    if (dynamic_cast<StateMenu*>(state) != nullptr) {
        return "menu";
    }
    if (dynamic_cast<StatePlay*>(state) != nullptr) {
        return "play";
    }
    if (dynamic_cast<StateGameOver*>(state) != nullptr) {
        return "game over";
    }
    if (dynamic_cast<StateAddScore*>(state) != nullptr) {
        return "add score";
    }
    if (dynamic_cast<StateShowScore*>(state) != nullptr) {
        return "high scores";
    }
    return "none";
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: arcade-soak FRAMES [SEED] [GROWTH_KB]\n");
        return 2;
    }
    const long frames = std::atol(argv[1]);
    const auto seed = argc > 2 ? static_cast<std::uint32_t>(std::atol(argv[2])) : kDefaultSeed;
    const long allowedGrowthKb = argc > 3 ? std::atol(argv[3]) : kDefaultGrowthKb;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    ScratchDir dir;
    RandomPlayer player(seed);
    std::unique_ptr<GameEngine> engine = StartGame(player);
    std::map<std::string, long> framesOn;
    long stores = 0;
    long games = 0;
    long restarts = 0;
    long paused = 0;
    long watches = 0;
    const long firstKb = ResidentKb(*engine);
    long settledKb = firstKb;
    long highestKb = firstKb;
    std::vector<long> samplesKb;
    const char* before = ScreenName(engine->GetState());
    for (long frame = 0; frame < frames; ++frame) {
        if (frame == frames / 10) {
            settledKb = ResidentKb(*engine);
        }
        player.Play(engine->Paused());
        const bool wasWatching = engine->Watches().On();
        engine->RunFrame();
        const char* now = ScreenName(engine->GetState());
        if (engine->Watches().On() || wasWatching) {
            // A watched game's screens are not the player's: its store stores nothing.
            watches += !wasWatching;
            ++framesOn["watching"];
        } else {
            ++framesOn[now];
            paused += engine->Paused();
            stores += before == std::string("add score") && now == std::string("high scores");
            games += before != std::string("play") && now == std::string("play");
        }
        before = now;
        if (engine->QuitRequested()) {
            // Escape ends the program; the player starts it again.
            ReleaseAllInput();
            engine.reset();
            engine = StartGame(player);
            before = ScreenName(engine->GetState());
            ++restarts;
        }
        if ((frame + 1) % kSampleEvery == 0) {
            samplesKb.push_back(ResidentKb(*engine));
            highestKb = std::max(highestKb, samplesKb.back());
        }
    }
    const long lastKb = ResidentKb(*engine);
    highestKb = std::max(highestKb, lastKb);
    engine.reset();

    const std::vector<std::string> lines = SplitLines(ReadWholeFile(dir.File("highscore.txt")));
    const bool kept = static_cast<long>(lines.size()) == stores &&
                      std::is_sorted(lines.rbegin(), lines.rend(), RanksBelow) &&
                      Leftovers(dir.Path()).empty();

    std::printf(
        "soak: %ld frames, seed %u: %ld games, %ld scores stored, %ld restarts after "
        "Escape\n",
        frames, static_cast<unsigned>(seed), games, stores, restarts);
    std::printf("  paused      %8ld frames (of those below)\n", paused);
    std::printf("  %ld best games watched from the list\n", watches);
    for (const auto& [screen, count] : framesOn) {
        std::printf("  %-12s %8ld frames\n", screen.c_str(), count);
    }
    std::printf(
        "resident: %ld kB at the start, %ld kB after a tenth of the frames, %ld kB at the "
        "end (highest %ld kB)\n",
        firstKb, settledKb, lastKb, highestKb);
    if (!samplesKb.empty()) {
        std::printf("resident every %ld frames (kB):", kSampleEvery);
        for (const long kb : samplesKb) {
            std::printf(" %ld", kb);
        }
        std::printf("\n");
    }
    bool passed = true;
    if (!kept) {
        std::printf(
            "FAILED: the file holds %zu lines for %ld stores, or is out of order, or a "
            "temporary file is left\n",
            lines.size(), stores);
        passed = false;
    }
    if (framesOn.size() - framesOn.count("watching") < 5) {
        std::printf("FAILED: not every screen was played\n");
        passed = false;
    }
    if (allowedGrowthKb > 0 && lastKb - settledKb > allowedGrowthKb) {
        std::printf("FAILED: the resident size grew by %ld kB\n", lastKb - settledKb);
        passed = false;
    }
    std::printf("%d passed, %d failed\n", passed ? 1 : 0, passed ? 0 : 1);
    return passed ? 0 : 1;
}
