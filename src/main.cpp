#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "engine/Options.h"
#include "engine/StopSignals.h"
#include "engine/TerminalDriver.h"
#include "net/SharedTable.h"
#include "playback/BestGame.h"
#include "playback/ProvenReplay.h"
#include "playback/Prover.h"
#include "replay/Recorder.h"
#include "report/DataFolder.h"
#include "sound/QuietAlsa.h"

namespace {
int ProveReplays(const std::vector<std::string>& files) {
    bool allProven = true;
    for (const std::string& file : files) {
        bool proven = false;
        std::puts(replay::ProveFile(file, proven).c_str());
        allProven = allProven && proven;
    }
    return allProven ? 0 : 1;
}
}  // namespace

int main(int argc, char* argv[]) {
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "arcade-game: %s\n\n%s", error.c_str(), Usage());
        return 2;
    }
    if (options.help) {
        std::fputs(Usage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("arcade-game %s\n", replay::GameVersion());
        return 0;
    }
    if (!options.verifyFiles.empty()) {
        return ProveReplays(options.verifyFiles);
    }
    // A game to watch is proven before any window opens: one that does not hold is named instead,
    // and never played where it could store a score it did not make.
    std::optional<replay::ProvenReplay> watched;
    if (!options.replayFile.empty()) {
        std::string why;
        watched = replay::ProvenFile(options.replayFile, why);
        if (!watched) {
            std::fprintf(stderr, "arcade-game: %s\n", why.c_str());
            return 1;
        }
    }
    // Said before SDL starts: left to itself it would write a terminal driver's codes first.
    if (NoDisplayToOpen(std::getenv("SDL_VIDEODRIVER"), std::getenv("DISPLAY"),
                        std::getenv("WAYLAND_DISPLAY"))) {
        std::fputs(
            "arcade-game: no display to open the window on (DISPLAY and WAYLAND_DISPLAY "
            "are unset): start it in a desktop session, or name a driver in "
            "SDL_VIDEODRIVER\n",
            stderr);
        return 1;
    }
    SilenceAlsa();
    // From here a stop ends the game as closing its window does, whenever it comes.
    const StopSignals held;
    const DataFolder data(options.dataDir);
    auto engine = std::make_unique<GameEngine>(options, data);
    engine->Watches().SetFinder(replay::FindBestGame);
    engine->Watches().SetProver(replay::ProveGameFromElsewhere);
    // Only a table the player named is ever reached; without one nothing of the network starts.
    if (!engine->NamedTable().empty()) {
        engine->UseSharedTable(net::OpenSharedTable(engine->NamedTable()));
    }
    replay::StartRun(*engine, std::move(watched));
    engine->Loop();
    return 0;
}
