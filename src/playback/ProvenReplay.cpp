#include "playback/ProvenReplay.h"

#include <utility>

#include "engine/GameEngine.h"
#include "playback/Prover.h"
#include "playback/Watcher.h"
#include "replay/ReplayFile.h"
#include "screens/StateMenu.h"
#include "screens/StateShowScore.h"

namespace replay {
namespace {

class ProvenWatch : public Watch {
  public:
    ProvenWatch(GameEngine& engine, ProvenReplay game) : engine(engine), game(std::move(game)) {}

    void Begin() override { watcher = std::make_unique<Watcher>(engine, game.Game()); }
    bool Step() override { return watcher != nullptr && watcher->Step(); }

  private:
    GameEngine& engine;
    ProvenReplay game;
    std::unique_ptr<Watcher> watcher;  // feeds from game, so it goes first
};

}  // namespace

std::optional<ProvenReplay> Proven(Replay game, std::string& why) {
    const Verdict verdict = Prove(game, Keep::VerdictOnly);
    if (!verdict.proven) {
        why = verdict.why;
        return std::nullopt;
    }
    return ProvenReplay(std::move(game));
}

std::optional<ProvenReplay> ProvenFile(const std::string& file, std::string& why) {
    Replay game;
    std::string error;
    if (!Load(file, game, error)) {
        why = file + ": " + error;
        return std::nullopt;
    }
    auto proven = Proven(std::move(game), error);
    if (!proven) {
        why = file + ": not proven: " + error;
    }
    return proven;
}

bool StartWatching(GameEngine& engine, ProvenReplay game) {
    return engine.Watches().Start(WatchOf(engine, std::move(game)));
}

std::unique_ptr<Watch> WatchOf(GameEngine& engine, ProvenReplay game) {
    return std::make_unique<ProvenWatch>(engine, std::move(game));
}

void StartRun(GameEngine& engine, std::optional<ProvenReplay> watched) {
    if (!watched) {
        engine.SetState(new StateMenu(engine.GetAssets()));
        return;
    }
    engine.SetState(new StateShowScore(engine.GetAssets()));
    StartWatching(engine, std::move(*watched));
}

}  // namespace replay
