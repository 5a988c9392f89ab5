#include "playback/BestGame.h"

#include <cstdio>
#include <string>

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
    const auto best = BestReplay();
    if (!best) {
        return nullptr;
    }
    Replay game;
    std::string error;
    if (!Load(*best, game, error)) {
        std::fprintf(stderr, "arcade-game: cannot watch %s: %s\n", best->c_str(), error.c_str());
        return nullptr;
    }
    return std::make_unique<BestGame>(engine, std::move(game));
}

}  // namespace replay
