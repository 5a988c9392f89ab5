#include "playback/BestGame.h"

#include <cstdio>
#include <string>

#include "playback/Prover.h"
#include "playback/Watcher.h"
#include "replay/ReplayFile.h"
#include "replay/Shelf.h"

namespace replay {
namespace {

class BestGame : public Watch {
  public:
    BestGame(GameEngine& engine, Replay game) : engine(engine), game(std::move(game)) {}

    void Begin() override { watcher = std::make_unique<Watcher>(engine, game); }
    bool Step() override { return watcher != nullptr && watcher->Step(); }

  private:
    GameEngine& engine;
    Replay game;
    std::unique_ptr<Watcher> watcher;  // feeds from game, so it goes first
};

}  // namespace

std::unique_ptr<Watch> FindBestGame(GameEngine& engine) {
    // A damaged or tampered best game leaves the next best to watch, rather than nothing.
    for (const std::string& path : KeptReplaysBestFirst()) {
        Replay game;
        std::string error;
        if (!Load(path, game, error)) {
            std::fprintf(stderr, "arcade-game: cannot watch %s: %s\n", path.c_str(), error.c_str());
            continue;
        }
        const Verdict verdict = Prove(game, Keep::VerdictOnly);
        if (!verdict.proven) {
            std::fprintf(stderr, "arcade-game: cannot watch %s: %s\n", path.c_str(),
                         verdict.why.c_str());
            continue;
        }
        return std::make_unique<BestGame>(engine, std::move(game));
    }
    return nullptr;
}

}  // namespace replay
