#include "playback/Watcher.h"

#include "engine/UsedEvents.h"
#include "playback/AsRecorded.h"
#include "playback/ReplayInput.h"
#include "replay/ReplayFile.h"

namespace replay {
namespace {

constexpr int kFastest = 4;

// The recorded game's input, with the player's own keys read first for the watching itself.
class WatchInput : public ReplayInput {
  public:
    WatchInput(const std::vector<Taken>& frames, Watcher::Control& control)
        : ReplayInput(frames), control(control) {}

    bool NextEvent(SDL_Event& event) override {
        SDL_Event own;
        if (PollUsedEvent(own)) {
            if (own.type == SDL_QUIT) {
                // Whatever runs after the replay closes too.
                control.stopped = true;
                SDL_PushEvent(&own);
            } else if (own.type == SDL_KEYDOWN && own.key.keysym.sym == SDLK_ESCAPE) {
                control.stopped = true;
            } else if (own.type == SDL_KEYDOWN && own.key.keysym.sym == SDLK_SPACE) {
                control.speed = control.speed >= kFastest ? 1 : control.speed * 2;
            }
        }
        return ReplayInput::NextEvent(event);
    }

  private:
    Watcher::Control& control;
};

}  // namespace

// The frame's waits, shortened by the speed the player chose.
class WatchClock : public Clock {
  public:
    WatchClock(std::unique_ptr<Clock> own, const Watcher::Control& control)
        : own(std::move(own)), control(control) {}
    Uint32 Ticks() override { return own->Ticks(); }
    void Delay(Uint32 milliseconds) override {
        own->Delay(milliseconds / static_cast<Uint32>(control.speed));
    }
    // The engine's own clock, back.
    std::unique_ptr<Clock> Own() { return std::move(own); }

  private:
    std::unique_ptr<Clock> own;
    const Watcher::Control& control;
};

Watcher::Watcher(GameEngine& engine, const Replay& game)
    : engine(engine), recorded(engine.Records().On()) {
    engine.Records().SetOn(false);
    auto input = std::make_unique<WatchInput>(game.frames, control);
    feed = input.get();
    ownInput = engine.SetInput(std::move(input));
    auto clock = std::make_unique<WatchClock>(engine.SetClock(nullptr), control);
    watchClock = clock.get();
    engine.SetClock(std::move(clock));
    StartAsRecorded(engine, game);
}

Watcher::~Watcher() {
    engine.Records().SetOn(recorded);
    engine.SetInput(std::move(ownInput));
    engine.SetClock(watchClock->Own());
}

bool Watcher::Step() {
    if (finished || control.stopped || engine.QuitRequested()) {
        return false;
    }
    if (feed->Done()) {
        return false;
    }
    // Nothing is stored again: the list shows the score where it went when it was played.
    CatchStore(engine, stored, true);
    engine.PlayFrame();
    finished = stored.done;
    return !finished && !control.stopped;
}

}  // namespace replay
