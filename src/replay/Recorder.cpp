#include "replay/Recorder.h"

#include <cstdlib>

#include "replay/TakenEvent.h"

namespace replay {

const char* GameVersion() {
    return ARCADE_VERSION;
}

void StartSequence(std::uint64_t drawsBefore) {
    // Unseeded, rand() gives the sequence that srand(1) starts.
    std::srand(1);
    for (std::uint64_t i = 0; i < drawsBefore; ++i) {
        std::rand();
    }
}

void Recorder::Begin(std::uint64_t drawsBefore, const std::string& nameBefore) {
    game = Replay();
    game.gameVersion = GameVersion();
    game.drawsBefore = drawsBefore;
    game.nameBefore = nameBefore;
    recording = true;
}

void Recorder::Take(const SDL_Event* event, bool left, bool right) {
    if (!recording) {
        return;
    }
    if (game.frames.size() >= limits::kMostFrames) {
        recording = false;
        game = Replay();
        return;
    }
    game.frames.push_back(TakenFrom(event, left, right));
}

std::optional<Replay> Recorder::Finish(int points, const std::string& name) {
    if (!recording) {
        return std::nullopt;
    }
    recording = false;
    game.points = static_cast<std::uint32_t>(points);
    game.name = name;
    return std::move(game);
}

}  // namespace replay
