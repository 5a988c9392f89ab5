#include "playback/BestGame.h"

#include <cstdio>
#include <string>

#include "playback/ProvenReplay.h"
#include "replay/ReplayFile.h"
#include "replay/Shelf.h"

namespace replay {

std::unique_ptr<Watch> FindBestGame(GameEngine& engine) {
    // A damaged or tampered best game leaves the next best to watch, rather than nothing.
    for (const std::string& path : KeptReplaysBestFirst()) {
        std::string why;
        auto proven = ProvenFile(path, why);
        if (!proven) {
            std::fprintf(stderr, "arcade-game: cannot watch %s\n", why.c_str());
            continue;
        }
        return WatchOf(engine, std::move(*proven));
    }
    return nullptr;
}

std::unique_ptr<Watch> ProveGameFromElsewhere(GameEngine& engine, const std::string& bytes,
                                              std::string& why) {
    Replay game;
    if (!Decode(bytes, game, why)) {
        return nullptr;
    }
    auto proven = Proven(std::move(game), why);
    return proven ? WatchOf(engine, std::move(*proven)) : nullptr;
}

}  // namespace replay
