#include "engine/Recording.h"

#include <cstdio>
#include <vector>

#include "replay/Shelf.h"
#include "scores/HighScoreFile.h"

void Recording::GameStarts(std::uint64_t draws, const std::string& name) {
    if (on) {
        recorder.Begin(draws, name);
    }
}

std::optional<replay::Replay> Recording::KeepStored(const std::string& name) {
    if (!storedPoints) {
        return std::nullopt;
    }
    const auto game = recorder.Finish(*storedPoints, name);
    storedPoints.reset();
    std::vector<std::string> best;
    HighScoreFile::ReadFirstLines(HighScoreFile::kFileName, replay::shelf::kMostKept,
                                  HighScoreFile::kLongestGameLine, best);
    std::string error;
    // Said once, as a score that cannot be stored is; the game plays on without its replay.
    if (game && !replay::KeepReplay(*game, best, error)) {
        std::fprintf(stderr, "arcade-game: %s\n", error.c_str());
    }
    return game;
}
