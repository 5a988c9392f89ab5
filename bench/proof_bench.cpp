// What a posted game costs the score server: the whole four-level game proven through the gate's
// workers, one or one per core, and the draws a post may ask to skip before its game, jumped by
// the prover's own sequence against the C library drawn one by one (as proofs once did).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "BenchFolder.h"
#include "engine/GameEngine.h"
#include "gfx/AirplaneSprite.h"
#include "gfx/BulletSprite.h"
#include "play/AimAndDodge.h"
#include "play/PlayRules.h"
#include "play/StatePlay.h"
#include "play/StatePlayProbe.h"
#include "playback/AsRecorded.h"
#include "playback/Prover.h"
#include "playback/ReplayInput.h"
#include "random/LibraryRandom.h"
#include "random/RandSequence.h"
#include "replay/Recorder.h"
#include "replay/ReplayFile.h"
#include "server/ProvingGate.h"
#include "server/ServerLimits.h"

namespace {

constexpr std::uint64_t kMostDrawsBefore = replay::limits::kMostDrawsBefore;

bool LoadWholeGame(replay::Replay& game, benchmark::State& state) {
    std::string error;
    if (!replay::Load(ARCADE_WHOLE_GAME_REPLAY, game, error)) {
        state.SkipWithError(error.c_str());
        return false;
    }
    game.gameVersion = replay::GameVersion();
    return true;
}

replay::Taken Key(SDLKey sym, char unicode, bool left = false, bool right = false) {
    replay::Taken taken;
    taken.event = replay::Taken::Event::Key;
    taken.sym = static_cast<std::uint16_t>(sym);
    taken.unicode = static_cast<std::uint16_t>(unicode);
    taken.left = left;
    taken.right = right;
    return taken;
}

replay::Replay HourPost() {
    replay::Replay post;
    post.gameVersion = replay::GameVersion();
    post.points = 1;
    post.name = "A";
    post.frames.push_back(Key(SDLK_RETURN, '\r'));
    return post;
}

// Whether a bullet fired from the cannon now would meet an airplane, the airplanes flying on as
// they do while nothing hits them.
bool WouldHit(const StatePlayProbe& field) {
    AirplaneSprite first;
    AirplaneSprite second;
    const bool flying[] = {field.Airplane() != nullptr && field.AirplaneHits() > 0,
                           field.Airplane2() != nullptr && field.Airplane2Hits() > 0};
    if (flying[0]) {
        first.SetPos(field.Airplane()->GetPosX(), field.Airplane()->GetPosY());
    }
    if (flying[1]) {
        second.SetPos(field.Airplane2()->GetPosX(), field.Airplane2()->GetPosY());
    }
    BulletSprite bullet;
    bullet.SetPos(field.Player()->GetPosX() + play::kBulletFromCannon.x,
                  field.Player()->GetPosY() + play::kBulletFromCannon.y);
    const auto meets = [&bullet](const AirplaneSprite& airplane) {
        return bullet.CollisionCheck(airplane.GetPosX(), airplane.GetPosY(),
                                     play::kAirplaneTarget.w, play::kAirplaneTarget.h);
    };
    while (bullet.GetPosY() >= play::kBulletGoneAboveY) {
        first.MoveLeft();
        second.MoveRight();
        if ((flying[0] && meets(first)) || (flying[1] && meets(second))) {
            return true;
        }
        bullet.MoveUp();
    }
    return false;
}

// The dearest hour found: the cannon stays in the open on the first level, dodging its bombs as
// the tests' player does, and fires whenever the shot will miss the airplane, so that some ninety
// bullets are always in flight and the level is never cleared (a fuller field costs more a frame
// than the most events: a cannon firing every frame under a shield, whose bullets die at once,
// costs less than a third as much). Its changes fit in some 7 KB of replay.
replay::Replay CraftedDodgingHour() {
    replay::Replay post = HourPost();
    GameEngine engine{GameEngine::Headless{}};
    engine.SetInput(std::make_unique<replay::ReplayInput>(post.frames));
    replay::StartAsRecorded(engine, post);
    engine.RunFrame();
    while (post.frames.size() < server::limits::kMostPostedFrames) {
        replay::Taken taken;  // nothing once the game is over
        if (const auto* play = dynamic_cast<const StatePlay*>(engine.GetState())) {
            const StatePlayProbe field(*play);
            if (!WouldHit(field)) {
                taken = Key(SDLK_SPACE, ' ');
            }
            const auto step = aim_and_dodge::ChooseStep(field);
            taken.left = step == aim_and_dodge::Step::Left;
            taken.right = step == aim_and_dodge::Step::Right;
        }
        post.frames.push_back(taken);
        engine.RunFrame();
    }
    return post;
}

// An hour that the game stands paused through, from its second frame on.
replay::Replay CraftedPausedHour() {
    replay::Replay post = HourPost();
    post.frames.push_back(Key(SDLK_p, 'p'));
    post.frames.resize(server::limits::kMostPostedFrames);
    return post;
}

// Frames a replay spends on the moving field, as the prover plays it, and the numbers that field
// is written in on average and at most: what each frame of proof walks and digests.
struct InPlay {
    std::size_t frames = 0;
    std::size_t meanNumbers = 0;
    std::size_t mostNumbers = 0;
};

InPlay PlayedFrames(const replay::Replay& game) {
    GameEngine engine{GameEngine::Headless{}};
    engine.SetInput(std::make_unique<replay::ReplayInput>(game.frames));
    replay::StartAsRecorded(engine, game);
    InPlay played;
    std::size_t numbers = 0;
    std::vector<int> field;
    for (std::size_t frame = 0; frame < game.frames.size(); ++frame) {
        engine.RunFrame();
        const auto* play = dynamic_cast<const StatePlay*>(engine.GetState());
        if (play != nullptr && !engine.Paused()) {
            play->WriteField(field);
            ++played.frames;
            numbers += field.size();
            played.mostNumbers = std::max(played.mostNumbers, field.size());
        }
    }
    played.meanNumbers = played.frames > 0 ? numbers / played.frames : 0;
    return played;
}

// One proof of the 223-point game, of the dearest hour found for a post, and of an hour paused.
void BM_ProveOnePost(benchmark::State& state, replay::Replay (*make)(benchmark::State&)) {
    BenchFolder folder;
    const replay::Replay post = make(state);
    if (post.frames.empty()) {
        return;
    }
    const std::string size = std::to_string(replay::Encode(post).size());
    const InPlay played = PlayedFrames(post);
    for (auto _ : state) {
        benchmark::DoNotOptimize(replay::Prove(post));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(post.frames.size()));
    state.SetLabel(std::to_string(post.frames.size()) + " frames, " +
                   std::to_string(played.frames) + " in play, " + size + " bytes, field of " +
                   std::to_string(played.meanNumbers) + " numbers (at most " +
                   std::to_string(played.mostNumbers) + ")");
}
BENCHMARK_CAPTURE(BM_ProveOnePost, WholeGame223, [](benchmark::State& state) {
    replay::Replay game;
    LoadWholeGame(game, state);
    return game;
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ProveOnePost, DodgingHour, [](benchmark::State&) {
    return CraftedDodgingHour();
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ProveOnePost, PausedHour, [](benchmark::State&) {
    return CraftedPausedHour();
})->Unit(benchmark::kMillisecond);

// Games a second through the gate with this many workers, kept full: the parallel rate against
// the single-core one.
void BM_ProveWholeGamesThroughTheGate(benchmark::State& state) {
    BenchFolder folder;
    replay::Replay game;
    if (!LoadWholeGame(game, state)) {
        return;
    }
    const auto workers = static_cast<unsigned>(state.range(0));
    constexpr int kGamesAtOnce = 8;
    server::ProvingGate gate(kGamesAtOnce, workers);
    for (auto _ : state) {
        std::mutex lock;
        std::condition_variable answered;
        int left = kGamesAtOnce;
        bool allProven = true;
        for (int i = 0; i < kGamesAtOnce; ++i) {
            gate.Submit(game, [&](const replay::Verdict& verdict) {
                std::lock_guard<std::mutex> held(lock);
                allProven = allProven && verdict.proven;
                --left;
                answered.notify_one();
            });
        }
        std::unique_lock<std::mutex> held(lock);
        answered.wait(held, [&] { return left == 0; });
        if (!allProven) {
            state.SkipWithError("the whole game was not proven");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kGamesAtOnce);
    state.SetLabel(std::to_string(workers) + " worker(s), " +
                   std::to_string(std::thread::hardware_concurrency()) + " core(s)");
}
BENCHMARK(BM_ProveWholeGamesThroughTheGate)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The dearest post of its size: the most draws a replay may ask to skip, then one frame.
void BM_ProveAPostThatSkipsTheMostDraws(benchmark::State& state) {
    BenchFolder folder;
    replay::Replay post;
    post.gameVersion = replay::GameVersion();
    post.drawsBefore = kMostDrawsBefore;
    post.points = 1;
    post.frames.resize(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(replay::Prove(post));
    }
}
BENCHMARK(BM_ProveAPostThatSkipsTheMostDraws)->Unit(benchmark::kMicrosecond);

void BM_JumpAhead(benchmark::State& state) {
    const auto n = static_cast<std::uint64_t>(state.range(0));
    RandSequence sequence;
    for (auto _ : state) {
        sequence.Skip(n);
        benchmark::DoNotOptimize(sequence);
    }
}
BENCHMARK(BM_JumpAhead)
    ->Arg(1000)
    ->Arg(1'000'000)
    ->Arg(kMostDrawsBefore)
    ->Arg(INT64_MAX)
    ->Unit(benchmark::kMicrosecond);

// What every proof of such a post did before it had a sequence of its own.
void BM_StartTheCLibraryAfterTheMostDraws(benchmark::State& state) {
    LibraryRandom library;
    for (auto _ : state) {
        library.StartAfter(kMostDrawsBefore);
    }
}
BENCHMARK(BM_StartTheCLibraryAfterTheMostDraws)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
