// The browser's main, in place of the desktop's src/main.cpp, whose loop blocks until the game
// ends: here the browser gives the game its turns, one frame each from its main loop, paced as the
// desktop paces its frames. One instance of the program serves the whole visit. When a run ends
// (Escape, also on the list a watched game ends on) the page is told through Module.onGameEnd,
// and Module.restartGame starts the next run in the same instance: the ended run's engine,
// screens, pictures and sounds are gone by then, and the instance's listeners and its one audio
// context serve the next.
#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "engine/GameEngine.h"
#include "engine/Options.h"
#include "playback/BestGame.h"
#include "playback/ProvenReplay.h"

namespace {

// The engine's waits, handed to the browser: a frame that asks to wait out the rest of its time
// is followed by the main loop's next turn that much later, rather than blocking the page.
class TurnClock : public Clock {
  public:
    Uint32 Ticks() override { return SDL_GetTicks(); }
    void Delay(Uint32 milliseconds) override { wakeAt = emscripten_get_now() + milliseconds; }

    // How many milliseconds after a turn that began at began the next one is due; the wait is
    // then spent.
    int WaitAfter(double began) {
        const double wait = wakeAt - began;
        wakeAt = 0;
        return wait > 0 ? static_cast<int>(wait + 0.5) : 0;
    }

  private:
    double wakeAt = 0;
};

// One run of the game: from the menu, or from a kept game watched first (proven first: one that
// does not hold is named, and the run starts from the menu), until the player ends it.
class Run {
  public:
    explicit Run(const std::string& replayFile) {
        engine.Watches().SetFinder(replay::FindBestGame);
        auto own = std::make_unique<TurnClock>();
        clock = own.get();
        engine.SetClock(std::move(own));
        std::optional<replay::ProvenReplay> watched;
        if (!replayFile.empty()) {
            std::string why;
            watched = replay::ProvenFile(replayFile, why);
            if (!watched) {
                std::fprintf(stderr, "arcade-game: %s\n", why.c_str());
            }
        }
        replay::StartRun(engine, std::move(watched));
    }

    // One frame; false once the run has ended.
    bool Step() {
        engine.RunFrame();
        return !engine.QuitRequested();
    }

    int WaitAfter(double began) { return clock->WaitAfter(began); }

  private:
    GameEngine engine;
    TurnClock* clock = nullptr;  // the engine's
};

// clang-format off
EM_JS(void, TellRunEnded, (), {
    // A page that knows of no next run in the same instance is told as of an ended program.
    if (Module['onGameEnd']) {
        Module['onGameEnd']();
    } else if (Module['onExit']) {
        Module['onExit'](0);
    }
});
// The browser's SDL_Quit leaves its 64 KB of keyboard state behind, and the next SDL_Init takes
// another.
EM_JS(void, ForgetKeyboardState, (), {
    if (SDL.keyboardState) {
        _free(SDL.keyboardState);
        SDL.keyboardState = 0;
    }
});
EM_JS(void, ShowVisit, (void* visit), { Module['arcadeVisit'] = visit; });
// clang-format on

// The runs of one visit, one at a time.
class Visit {
  public:
    // Ends the run in progress, if any, without telling the page, and starts another.
    void Start(const std::string& replayFile) {
        if (run != nullptr) {
            emscripten_cancel_main_loop();
            run.reset();
        }
        if (ranBefore) {
            // What was pressed while no game ran is not for the new one.
            SDL_Event stale;
            while (SDL_PollEvent(&stale) == 1) {
            }
            ForgetKeyboardState();
        }
        run = std::make_unique<Run>(replayFile);
        ranBefore = true;
        emscripten_set_main_loop_arg(Turn, this, kFramesPerSecond, 0);
    }

  private:
    static constexpr int kFramesPerSecond = 1000 / GameEngine::kFrameMilliseconds;

    static void Turn(void* visit) { static_cast<Visit*>(visit)->Frame(); }

    void Frame() {
        const double began = emscripten_get_now();
        if (!run->Step()) {
            emscripten_cancel_main_loop();
            run.reset();
            TellRunEnded();
            return;
        }
        emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, run->WaitAfter(began));
    }

    std::unique_ptr<Run> run;
    bool ranBefore = false;  // and left the browser's SDL started
};

}  // namespace

// Module.restartGame's way in: a new run in this instance, watching the replay in the file first
// when one is named.
extern "C" EMSCRIPTEN_KEEPALIVE void arcade_restart(void* visit, const char* replayFile) {
    static_cast<Visit*>(visit)->Start(replayFile != nullptr ? replayFile : "");
}

int main(int argc, char* argv[]) {
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "arcade-game: %s\n", error.c_str());
        return 2;
    }
    // The visit lasts as long as the page: it is never freed.
    auto* visit = new Visit();
    ShowVisit(visit);
    visit->Start(options.replayFile);
    return 0;
}
