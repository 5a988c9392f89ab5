#include "replay/Recorder.h"

#include "replay/TakenEvent.h"

namespace replay {

const char* GameVersion() {
    return ARCADE_VERSION;
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
