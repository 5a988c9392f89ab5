#include "playback/Watcher.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "engine/UsedEvents.h"
#include "playback/AsRecorded.h"
#include "playback/ReplayInput.h"
#include "replay/ReplayFile.h"

namespace replay {
namespace {

constexpr int kFastest = 4;
// A wait of the player's longer than this (two seconds) is nothing to watch: it passes this many
// times as fast. One of just two seconds is watched as it was played.
constexpr std::size_t kLongWaitFrames = 2000 / GameEngine::kFrameMilliseconds;
constexpr int kWaitSpeed = 8;

bool Quiet(const Taken& frame) {
    return frame.event == Taken::Event::None && !frame.left && !frame.right;
}

// Per frame: whether it lies within a wait longer than two seconds without any input.
std::vector<bool> LongWaits(const std::vector<Taken>& frames) {
    std::vector<bool> waiting(frames.size(), false);
    std::size_t start = 0;
    while (start < frames.size()) {
        std::size_t end = start;
        while (end < frames.size() && Quiet(frames[end])) {
            ++end;
        }
        if (end - start > kLongWaitFrames) {
            std::fill(waiting.begin() + static_cast<std::ptrdiff_t>(start),
                      waiting.begin() + static_cast<std::ptrdiff_t>(end), true);
        }
        start = end == start ? end + 1 : end;
    }
    return waiting;
}

// The player's own event of the frame, read before the watched game's: it is for the watching
// itself, never for the game.
void TakeOwnEvent(GameEngine& engine, Watcher::Control& control) {
    SDL_Event own;
    if (!PollUsedEvent(own)) {
        return;
    }
    if (own.type == SDL_QUIT) {
        // Whatever runs after the replay closes too.
        control.stopped = true;
        SDL_PushEvent(&own);
        return;
    }
    if (own.type != SDL_KEYDOWN) {
        return;
    }
    if (own.key.keysym.sym == SDLK_ESCAPE) {
        control.stopped = true;
    } else if (own.key.keysym.sym == SDLK_SPACE) {
        control.speed = control.speed >= kFastest ? 1 : control.speed * 2;
    } else if (engine.WatchersKey(own).kind == Command::Pause) {
        control.paused = !control.paused;
    }
}

}  // namespace

int Watcher::Control::Speed() const {
    if (paused) {
        return 1;
    }
    return skipping ? kWaitSpeed : speed;
}

Watcher::Watcher(GameEngine& engine, const Replay& game)
    : engine(engine),
      waiting(LongWaits(game.frames)),
      recorded(engine.Records().On()),
      player(engine.SetPlayerAside()) {
    engine.Records().SetOn(false);
    auto input = std::make_unique<ReplayInput>(game.frames);
    feed = input.get();
    ownInput = engine.SetInput(std::move(input));
    StartAsRecorded(engine, game);
}

Watcher::~Watcher() {
    // The watched game's screens go here, the catcher of its store among them, while what they
    // refer to still stands; the player's own come back whatever screen the watch ended on.
    engine.BringPlayerBack(std::move(player));
    engine.SetWatchLabel({});
    engine.Records().SetOn(recorded);
    engine.SetInput(std::move(ownInput));
}

std::string Watcher::Label() const {
    if (control.paused) {
        return "Replay paused - press P to play on";
    }
    const std::string speed = "Replay " + std::to_string(control.Speed()) + "x";
    return control.skipping ? speed + " (skipping a wait)" : speed;
}

bool Watcher::Step() {
    if (finished || control.stopped || engine.QuitRequested()) {
        return false;
    }
    TakeOwnEvent(engine, control);
    if (control.stopped) {
        return false;
    }
    if (control.paused) {
        engine.SetWatchLabel(Label());
        engine.HoldFrame();
        return true;
    }
    // Faster than the game's pace, the frames between two shown ones are run unseen: one picture
    // a frame, so that no speed is lost to drawing and scaling pictures nobody could see.
    for (int run = 1;; ++run) {
        if (feed->Done()) {
            return false;
        }
        control.skipping = waiting[feed->Fed()];
        // Nothing is stored again: the list shows the score where it went when it was played.
        CatchStore(engine, stored, true);
        const bool shown = run >= control.Speed();
        if (shown) {
            engine.SetWatchLabel(Label());
            engine.PlayFrame();
        } else {
            engine.RunUnshownFrame();
        }
        finished = stored.done;
        if (finished || engine.QuitRequested()) {
            return false;
        }
        if (shown) {
            return true;
        }
    }
}

}  // namespace replay
