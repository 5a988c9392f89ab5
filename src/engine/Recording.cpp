// The engine's part in replays: the counted bomb draws, and recording each game from the menu's
// Enter to its stored score.
#include <cstdio>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "replay/Shelf.h"
#include "scores/HighScoreFile.h"

int GameEngine::BombDraw() {
    ++draws;
    return random->Draw();
}

void GameEngine::StartDrawsAfter(std::uint64_t drawsBefore) {
    random->StartAfter(drawsBefore);
    draws = drawsBefore;
}

void GameEngine::GameStarts() {
    if (recordGames) {
        recorder.Begin(draws, GetPlayerName());
    }
}

void GameEngine::KeepReplay(int points) {
    const auto game = recorder.Finish(points, GetPlayerName());
    std::vector<std::string> best;
    HighScoreFile::ReadFirstLines(HighScoreFile::kFileName, replay::shelf::kMostKept,
                                  HighScoreFile::kLongestGameLine, best);
    std::string error;
    // Said once, as a score that cannot be stored is; the game plays on without its replay.
    if (game && !replay::KeepReplay(*game, best, error)) {
        std::fprintf(stderr, "arcade-game: %s\n", error.c_str());
    }
}
