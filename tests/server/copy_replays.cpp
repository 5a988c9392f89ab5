// arcade-make-replays --copies FILE DIR: what a cheat makes of a listed game to list it again
// under another name. Each copy follows FILE's play with some of its inputs changed, spread over
// the whole game and each where the game still makes FILE's points: shots dropped, pauses put in
// (the frame that plays on loses its own key), and arrows held a frame longer (a shot more is
// dropped for each of those not found); then the game's end is typed under the name Mallory and
// stored, so that each proves.
// copy-1-shot, copy-1-pause and copy-1-held.replay change one input, copy-10.replay ten and
// copy-100.replay a hundred, a third of each kind.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Playing.h"
#include "engine/GameEngine.h"
#include "replay/ReplayFile.h"
#include "screens/StateGameOver.h"
#include "screens/StateMenu.h"
#include "support/Scratch.h"

namespace {
namespace fs = std::filesystem;
using replay::Taken;

constexpr int kLongestGame = 100000;  // frames: the longest copy, pauses and all
constexpr int kPausedFrames = 30;     // frames each pause lasts
constexpr const char* kThief = "Mallory";

bool IsShot(const Taken& frame) {
    return frame.event == Taken::Event::Key && frame.sym == SDLK_SPACE;
}

bool Holds(const Taken& frame) {
    return frame.left || frame.right;
}

Taken KeyP() {
    Taken p;
    p.event = Taken::Event::Key;
    p.sym = SDLK_p;
    p.unicode = 'p';
    return p;
}

// The candidates in an order that spreads the first ones over the whole game: halves, quarters,
// eighths, ...
std::vector<std::size_t> SpreadOrder(const std::vector<std::size_t>& candidates) {
    std::vector<std::size_t> order;
    std::vector<bool> taken(candidates.size(), false);
    for (std::size_t parts = 1; order.size() < candidates.size(); parts *= 2) {
        for (std::size_t j = 0; j < parts; ++j) {
            const std::size_t at = (2 * j + 1) * candidates.size() / (2 * parts);
            if (at < candidates.size() && !taken[at]) {
                taken[at] = true;
                order.push_back(candidates[at]);
            }
        }
        if (parts > candidates.size()) {
            for (std::size_t at = 0; at < candidates.size(); ++at) {
                if (!taken[at]) {
                    order.push_back(candidates[at]);
                }
            }
        }
    }
    return order;
}

struct Changes {
    std::vector<std::size_t> dropped;  // frames whose shot is left out
    std::vector<std::size_t> held;     // frames whose arrow is held a frame longer
    std::vector<std::size_t> paused;   // frames a pause is put in before; they play on
};

std::vector<Taken> Changed(const std::vector<Taken>& frames, const Changes& changes) {
    std::vector<Taken> changed = frames;
    for (const std::size_t at : changes.dropped) {
        Taken blank;
        blank.left = changed[at].left;
        blank.right = changed[at].right;
        changed[at] = blank;
    }
    for (const std::size_t at : changes.held) {
        changed[at + 1].left = changed[at].left;
        changed[at + 1].right = changed[at].right;
    }
    std::vector<std::size_t> paused = changes.paused;
    std::sort(paused.rbegin(), paused.rend());
    for (const std::size_t at : paused) {
        const Taken playOn = changed[at];
        changed[at] = KeyP();
        changed[at].left = playOn.left;
        changed[at].right = playOn.right;
        std::vector<Taken> pause(kPausedFrames, Taken());
        pause.front() = KeyP();
        changed.insert(changed.begin() + static_cast<std::ptrdiff_t>(at), pause.begin(),
                       pause.end());
    }
    return changed;
}

// The points the changed play makes, played to its end; -1 when it does not end.
int PointsOf(const std::vector<Taken>& frames) {
    GameEngine engine{GameEngine::Headless{}};
    engine.SetInput(std::make_unique<FollowingPlayer>(engine, frames, kThief));
    engine.SetState(new StateMenu(engine.GetAssets()));
    for (int frame = 0; frame < kLongestGame; ++frame) {
        engine.RunFrame();
        if (const auto* over = dynamic_cast<const StateGameOver*>(engine.GetState())) {
            return over->GetScore();
        }
    }
    return -1;
}

}  // namespace

int MakeCopies(const std::string& file, const fs::path& folder) {
    replay::Replay game;
    std::string error;
    if (!replay::Load(file, game, error) || game.drawsBefore != 0 || !game.nameBefore.empty()) {
        std::fprintf(stderr, "arcade-make-replays: %s: %s\n", file.c_str(),
                     error.empty() ? "not the first game of a run" : error.c_str());
        return 1;
    }
    int points = -1;
    const std::vector<bool> playing = FramesOfPlay(game, points);
    std::vector<std::size_t> shots;
    std::vector<std::size_t> releases;
    std::vector<std::size_t> spots;
    for (std::size_t at = 1; at + 1 < game.frames.size(); ++at) {
        const Taken& frame = game.frames[at];
        if (playing[at] && IsShot(frame)) {
            shots.push_back(at);
        }
        if (playing[at + 1] && Holds(frame) && !Holds(game.frames[at + 1])) {
            releases.push_back(at);
        }
        // A pause goes in where no arrow was held the frame before.
        if (playing[at] && !Holds(game.frames[at - 1]) &&
            (frame.event == Taken::Event::None || IsShot(frame))) {
            spots.push_back(at);
        }
    }
    ScratchDir scratch(false);  // the game stores its list and replays there
    // One of each kind alone, then ten and a hundred of them together.
    const struct {
        const char* name;
        std::size_t dropped, paused, held;
    } copies[] = {{"copy-1-shot", 1, 0, 0},
                  {"copy-1-pause", 0, 1, 0},
                  {"copy-1-held", 0, 0, 1},
                  {"copy-10", 4, 3, 3},
                  {"copy-100", 34, 33, 33}};
    for (const auto& copy : copies) {
        // A cheat wants the listed game's points: each change is kept only where the play still
        // makes them, taken in an order that spreads the first ones over the whole game.
        Changes changes;
        const auto keep = [&](std::vector<std::size_t>& kind, const std::vector<std::size_t>& at,
                              std::size_t count) {
            for (const std::size_t candidate : SpreadOrder(at)) {
                if (kind.size() >= count) {
                    return;
                }
                if (std::find(changes.paused.begin(), changes.paused.end(), candidate) !=
                        changes.paused.end() ||
                    std::find(changes.dropped.begin(), changes.dropped.end(), candidate) !=
                        changes.dropped.end()) {
                    continue;
                }
                kind.push_back(candidate);
                if (PointsOf(Changed(game.frames, changes)) != points) {
                    kind.pop_back();
                }
            }
        };
        keep(changes.held, releases, copy.held);
        keep(changes.paused, spots, copy.paused);
        // Shots dropped for the holds and pauses not found, so that every copy has all its
        // changes where it can.
        keep(changes.dropped, shots,
             copy.dropped + copy.held + copy.paused - changes.held.size() - changes.paused.size());
        const std::vector<Taken> frames = Changed(game.frames, changes);
        const std::string bytes = PlayOne(
            [&frames](GameEngine& engine) {
                return std::make_unique<FollowingPlayer>(engine, frames, kThief);
            },
            kLongestGame);
        if (bytes.empty()) {
            std::fprintf(stderr, "arcade-make-replays: %s never ended\n", copy.name);
            return 1;
        }
        const std::string file = std::string(copy.name) + ".replay";
        WriteWholeFile((folder / file).string(), bytes);
        replay::Replay made;
        replay::Decode(bytes, made, error);
        std::printf(
            "%s: %zu shots dropped, %zu pauses, %zu arrows held a frame longer: %u "
            "points (%d listed)\n",
            file.c_str(), changes.dropped.size(), changes.paused.size(), changes.held.size(),
            made.points, points);
    }
    return 0;
}
