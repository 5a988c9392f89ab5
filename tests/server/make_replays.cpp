// arcade-make-replays N DIR: plays N short games headless through the game's own engine and
// recorder, and keeps each one's replay in DIR as NAME.replay, byte for byte as the game wrote it.
// The first twenty each stand the cannon at a place of its own, fifteen pixels or more from any
// other (some frames of stepping left or right), and fire every other frame until a bomb finds it
// (within 20000 frames, or it is played again at a place no game has taken); every later one (and
// one that finds no such place) fires as they do but wanders, its steps drawn from a sequence of
// its own. Each is stored under its own name (T0001, T0002, ...): so the plays differ (the server
// lists a play once, and no copy of one: two cannons a step or two apart would be one game with an
// arrow held a frame or two longer), their points vary, and each one proves with
// arcade-game --verify.
//
// arcade-make-replays --tampered FILE DIR: writes what a cheat would make of a proven replay, each
// a well-formed replay file: raised.replay (one point more), renamed.replay (another name),
// paused.replay (one frame's input changed into a pause), markup.replay (a name no typing
// makes, which proves all the same), markup-before.replay (markup in the name typing starts
// from alone), an-hour.replay and over-an-hour.replay (idle frames before the game, to the
// longest a post may be and one past it), far.replay (said to begin after 10^8 draws), the
// same game claimed again: stolen.replay (another name typed) and stolen-numlock.replay (other
// bytes: Num Lock on at every key), and the same game stored without a name: nameless.replay
// (none typed) and spaces.replay (only spaces typed).
//
// arcade-make-replays --copies FILE DIR: see copy_replays.cpp.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "Playing.h"
#include "engine/FrameInput.h"
#include "engine/GameEngine.h"
#include "replay/Recorder.h"
#include "replay/ReplayFile.h"
#include "server/ServerLimits.h"
#include "support/Frames.h"
#include "support/Scratch.h"

namespace {
namespace fs = std::filesystem;

constexpr int kLongestGame = 20000;  // frames; a standing cannon is found long before
// The places the first games stand at, each kStepsApart steps from the next, kLeftmostSteps steps
// left of the start to the right; clear of the shields, which would stop their shots.
constexpr int kPlaces = 20;
constexpr int kStepsApart = 5;
constexpr int kLeftmostSteps = -45;
constexpr int kPlacesApart = 7;      // how the place differs from one game to the next (7 and 20
                                     // share no factor: the first twenty take every place)
constexpr int kShortestWander = 10;  // frames a wandering cannon goes one way, or stands
constexpr int kLongestWander = 60;
constexpr int kNameDigits = 4;

// What a player of one of these games does: Enter on the menu, a few steps left or right, then fire
// every other frame, and (given a wander) step left, right or stand for a while at a time as its
// sequence says; once the name is asked for, type it and press Enter until it is stored.
class ScriptedPlayer : public FrameInput {
  public:
    ScriptedPlayer(GameEngine& engine, std::string name, int steps, std::uint32_t wander)
        : engine(engine), typing(std::move(name)), steps(steps), wander(wander) {}

    bool NextEvent(SDL_Event& event) override {
        ++frame;
        if (frame == 1) {
            event = KeyDown(SDLK_RETURN, '\r');
            return true;
        }
        // The game-over screen's Enter switches name entry off again: the storing goes on.
        naming = naming || engine.Names().On();
        if (naming) {
            return typing.Next(event);
        }
        if (frame % 2 == 0) {
            event = KeyDown(SDLK_SPACE, ' ');
            return true;
        }
        return false;
    }
    HeldWays Held(Gamepad* /*pad*/, const KeyBindings* /*bound*/) override {
        if (naming || frame <= 1) {
            return {};
        }
        if (frame <= std::abs(steps) + 1) {
            return {steps<0, steps> 0};
        }
        if (wander != 0 && --wanderLeft <= 0) {
            // A little generator of the player's own: the game's draws are left to the bombs.
            wander = wander * 1664525u + 1013904223u;
            wanderLeft = kShortestWander +
                         static_cast<int>(wander >> 8) % (kLongestWander - kShortestWander);
            way = static_cast<int>(wander >> 24) % 3 - 1;
        }
        return {way == -1, way == 1};
    }

  private:
    GameEngine& engine;
    TypingName typing;
    int steps;
    std::uint32_t wander;
    int wanderLeft = 0;
    int way = 0;  // -1 left, 0 standing, 1 right
    int frame = 0;
    bool naming = false;
};

std::string NameOf(long number) {
    std::string digits = std::to_string(number);
    if (digits.size() < kNameDigits) {
        digits.insert(0, kNameDigits - digits.size(), '0');
    }
    return "T" + digits;
}

int Tamper(const std::string& file, const fs::path& folder) {
    replay::Replay game;
    std::string error;
    if (!replay::Load(file, game, error)) {
        std::fprintf(stderr, "arcade-make-replays: %s: %s\n", file.c_str(), error.c_str());
        return 1;
    }
    auto write = [&folder](const char* name, const replay::Replay& changed) {
        WriteWholeFile((folder / name).string(), replay::Encode(changed));
    };
    replay::Replay raised = game;
    raised.points += 1;
    write("raised.replay", raised);
    replay::Replay renamed = game;
    renamed.name = game.name == "Mallory" ? "Trent" : "Mallory";
    write("renamed.replay", renamed);
    replay::Replay paused = game;
    replay::Taken& middle = paused.frames[paused.frames.size() / 2];
    middle = replay::Taken();
    middle.event = replay::Taken::Event::Key;
    middle.sym = SDLK_p;
    middle.unicode = 'p';
    write("paused.replay", paused);
    // Typing goes on from the name the game before left, which nothing but the file vouches for:
    // this one proves, and only the name rules refuse it.
    replay::Replay markup = game;
    markup.nameBefore = "<b>";
    markup.name = markup.nameBefore + game.name;
    write("markup.replay", markup);
    // Markup only in the name typing starts from, the name it ends with a typeable one.
    replay::Replay markupBefore = game;
    markupBefore.nameBefore = "<b>";
    write("markup-before.replay", markupBefore);
    // Exactly the longest a post may be, and one frame longer: idle frames before the game.
    replay::Replay hour = game;
    hour.frames.insert(hour.frames.begin(), server::limits::kMostPostedFrames - game.frames.size(),
                       replay::Taken());
    write("an-hour.replay", hour);
    hour.frames.insert(hour.frames.begin(), replay::Taken());
    write("over-an-hour.replay", hour);
    // A game said to begin after 10^8 draws of the generator: costly to reach by drawing.
    replay::Replay far = game;
    far.drawsBefore = 100000000;
    write("far.replay", far);
    // The same game claimed by another: the name typed at its end changed (as long, so nothing
    // else moves).
    replay::Replay stolen = game;
    const std::string thief = std::string("Mallory").substr(0, game.name.size());
    std::size_t typed = 0;
    for (std::size_t i = 0; i < stolen.frames.size() && typed < thief.size(); ++i) {
        replay::Taken& frame = stolen.frames[i];
        if (frame.event == replay::Taken::Event::Key && frame.unicode == game.name[typed]) {
            const auto c = static_cast<unsigned char>(thief[typed++]);
            frame.sym = c;
            frame.unicode = c;
        } else if (typed > 0) {
            typed = 0;  // not the name after all: look on
        }
    }
    stolen.name = thief;
    write("stolen.replay", stolen);
    // Other bytes for the same play: Num Lock on at every key, which no screen reads.
    replay::Replay numLock = game;
    for (replay::Taken& frame : numLock.frames) {
        if (frame.event == replay::Taken::Event::Key) {
            frame.mod |= KMOD_NUM;
        }
    }
    write("stolen-numlock.replay", numLock);
    // The same game stored without a name, and with only spaces for one: the game's own list
    // takes either.
    for (const auto& [file, name] :
         {std::pair<const char*, const char*>{"nameless.replay", ""}, {"spaces.replay", "   "}}) {
        const std::string typed = name;
        const std::string bytes = PlayOne(
            [&game, &typed](GameEngine& engine) {
                return std::make_unique<FollowingPlayer>(engine, game.frames, typed);
            },
            static_cast<int>(game.frames.size()) + kLongestGame);
        if (bytes.empty()) {
            std::fprintf(stderr, "arcade-make-replays: %s never ended\n", file);
            return 1;
        }
        WriteWholeFile((folder / file).string(), bytes);
    }
    return 0;
}

}  // namespace

int MakeCopies(const std::string& file, const fs::path& folder);

int main(int argc, char* argv[]) {
    if (argc == 4 && std::string(argv[1]) == "--tampered") {
        const fs::path file = fs::absolute(argv[2]);
        const fs::path folder = fs::absolute(argv[3]);
        ScratchDir scratch(false);  // the nameless games are stored there
        return Tamper(file.string(), folder);
    }
    if (argc == 4 && std::string(argv[1]) == "--copies") {
        return MakeCopies(argv[2], fs::absolute(argv[3]));
    }
    char* end = nullptr;
    const long count = argc == 3 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 3 || *end != '\0' || count < 1 || count > 99999) {
        std::fprintf(stderr,
                     "usage: arcade-make-replays N DIR   (N from 1 to 99999)\n"
                     "       arcade-make-replays --tampered FILE DIR\n"
                     "       arcade-make-replays --copies FILE DIR\n");
        return 2;
    }
    std::error_code error;
    fs::create_directories(argv[2], error);
    const fs::path folder = fs::absolute(argv[2], error);
    if (error || !fs::is_directory(folder)) {
        std::fprintf(stderr, "arcade-make-replays: cannot make the folder %s\n", argv[2]);
        return 1;
    }
    ScratchDir scratch(false);  // the game stores its list and replays there
    std::set<int> placesTaken;  // by the first twenty
    for (long i = 1; i <= count; ++i) {
        const std::string name = NameOf(i);
        std::string bytes;
        // Standing where no game stands, else (once every place whose games end is taken)
        // wandering.
        for (int tried = 0; bytes.empty() && tried < 2 * kPlaces; ++tried) {
            const bool wanders = i > kPlaces || tried >= kPlaces;
            const int place = static_cast<int>((i * kPlacesApart + tried) % kPlaces);
            if (!wanders && !placesTaken.insert(place).second) {
                continue;  // another game stands there: the same play
            }
            const int steps = kLeftmostSteps + place * kStepsApart;
            const auto wander = static_cast<std::uint32_t>(wanders ? i * kPlaces + tried : 0);
            bytes = PlayOne(
                [&](GameEngine& engine) {
                    return std::make_unique<ScriptedPlayer>(engine, name, steps, wander);
                },
                kLongestGame);
        }
        if (bytes.empty()) {
            std::fprintf(stderr, "arcade-make-replays: the game of %s never ended\n", name.c_str());
            return 1;
        }
        WriteWholeFile((folder / (name + ".replay")).string(), bytes);
    }
    std::printf("%ld replays in %s\n", count, folder.c_str());
    return 0;
}
