// Proves a replay as the high-score list's key does, beside a game whose window is open (or with
// --no-window, in a program that never opened one), and says what the proof cost: the time of one
// core it took, and every call it made into SDL, SDL_image, SDL_ttf or SDL_mixer, as counted by
// the preloaded call counter. Fails on a replay that does not prove and on any such call.
//   arcade-proof-beside-window FILE [--no-window]
#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "playback/Prover.h"
#include "replay/Recorder.h"
#include "replay/ReplayFile.h"
#include "screens/StateMenu.h"
#include "support/Scratch.h"

namespace {

constexpr int kProofs = 7;

using CountedCall = bool (*)(std::size_t, const char**, std::uint64_t*);

std::map<std::string, std::uint64_t> CallsSoFar(CountedCall counted) {
    std::map<std::string, std::uint64_t> calls;
    const char* name = nullptr;
    std::uint64_t count = 0;
    for (std::size_t i = 0; counted(i, &name, &count); ++i) {
        calls[name] = count;
    }
    return calls;
}

double CoreMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || (argc == 3 && std::string(argv[2]) != "--no-window") || argc > 3) {
        std::fprintf(stderr, "usage: %s FILE [--no-window]\n", argv[0]);
        return 2;
    }
    const auto counted = reinterpret_cast<CountedCall>(dlsym(RTLD_DEFAULT, "arcade_counted_call"));
    if (counted == nullptr) {
        std::fprintf(stderr, "%s: no call counter preloaded\n", argv[0]);
        return 2;
    }
    replay::Replay game;
    std::string error;
    if (!replay::Load(argv[1], game, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    game.gameVersion = replay::GameVersion();
    const bool window = argc == 2;

    ScratchDir play;
    std::unique_ptr<GameEngine> running;
    if (window) {
        running = std::make_unique<GameEngine>();
        running->SetState(new StateMenu(running->GetAssets()));
        running->RunFrame();
    }
    const auto before = CallsSoFar(counted);
    // A counter that counts nothing would pass any proof: the window's opening is counted first.
    std::uint64_t opening = 0;
    for (const auto& [name, count] : before) {
        opening += count;
    }
    if (window && opening == 0) {
        std::fprintf(stderr, "%s: the window opened without a counted call\n", argv[0]);
        return 2;
    }
    const double started = CoreMilliseconds();
    const replay::Verdict verdict = replay::Prove(game, replay::Keep::VerdictOnly);
    const double first = CoreMilliseconds() - started;
    const auto after = CallsSoFar(counted);
    std::vector<double> times = {first};
    for (int proof = 1; proof < kProofs; ++proof) {
        const double again = CoreMilliseconds();
        replay::Prove(game, replay::Keep::VerdictOnly);
        times.push_back(CoreMilliseconds() - again);
    }
    std::sort(times.begin(), times.end());

    std::uint64_t total = 0;
    std::string named;
    for (const auto& [name, count] : after) {
        const std::uint64_t made = count - before.at(name);
        if (made != 0) {
            total += made;
            named += "  " + name + ": " + std::to_string(made) + "\n";
        }
    }
    std::printf(
        "%s: %s, %zu frames, in %.1f ms of one core the first time (median of %d: %.1f) %s; "
        "calls into SDL and its libraries: %llu\n%s",
        argv[1], verdict.proven ? "proven" : ("not proven: " + verdict.why).c_str(),
        game.frames.size(), first, kProofs, times[kProofs / 2],
        window ? "with a window open" : "in a program without a window",
        static_cast<unsigned long long>(total), named.c_str());
    running.reset();
    return verdict.proven && total == 0 ? 0 : 1;
}
