// Whole games recorded as they are played, then proved without a window and watched again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/GameEngine.h"
#include "play/AimAndDodge.h"
#include "play/PlayFixture.h"
#include "playback/AsRecorded.h"
#include "playback/BestGame.h"
#include "playback/ProvenReplay.h"
#include "playback/Prover.h"
#include "playback/ReplayInput.h"
#include "playback/Watcher.h"
#include "replay/Recorder.h"
#include "replay/ReplayFile.h"
#include "replay/Shelf.h"
#include "screens/StateMenu.h"
#include "screens/StateShowScore.h"

namespace {

using replay::Replay;

StatePlay* PlayOf(GameEngine& engine) {
    return dynamic_cast<StatePlay*>(engine.GetState());
}

// Types the name and presses Enter three times: confirm it, go on, store the score.
int StoreAs(GameEngine& engine, const char* name) {
    PushText(name);
    for (int i = 0; i < 3; ++i) {
        PushKey(SDLK_RETURN, '\r');
    }
    int frames = 0;
    SDL_Event next;
    while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0) {
        engine.RunFrame();
        ++frames;
    }
    return frames;
}

Replay Loaded(const std::string& path) {
    Replay game;
    std::string error;
    EXPECT_TRUE(replay::Load(path, game, error)) << path << ": " << error;
    return game;
}

std::string Why(const Replay& game) {
    return replay::Prove(game).why;
}

TEST(RecordedGames, The223PointGameProvesAndEveryTamperingIsCaught) {
    ScratchDir dir(false);  // pictures play no part in the rules
    std::srand(1);
    GameEngine engine;
    UseFakeClock(engine);
    engine.SetState(new StateMenu(engine.GetAssets()));
    PushKey(SDLK_RETURN, '\r');
    engine.RunFrame();
    int frames = 1;
    while (PlayOf(engine) != nullptr && frames < 30000) {
        const auto step = aim_and_dodge::ChooseStep(StatePlayProbe(*PlayOf(engine)));
        HoldKey(SDLK_LEFT, step == aim_and_dodge::Step::Left);
        HoldKey(SDLK_RIGHT, step == aim_and_dodge::Step::Right);
        PushKey(SDLK_SPACE, ' ');
        engine.RunFrame();
        ++frames;
    }
    HoldKey(SDLK_LEFT, false);
    HoldKey(SDLK_RIGHT, false);
    frames += StoreAs(engine, "Anna");
    ASSERT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);

    const std::string bytes = ReadWholeFile(dir.File("last.replay"));
    std::printf("The 223-point game: %d frames in a replay of %zu bytes.\n", frames, bytes.size());
    RecordProperty("replay_bytes", static_cast<int>(bytes.size()));
    EXPECT_LT(bytes.size(), 16u * 1024u);
    EXPECT_EQ(ReadWholeFile(dir.File("replays/223 points - Anna.replay")), bytes);
    bool proven = false;
    EXPECT_EQ(replay::ProveFile(dir.File("last.replay"), proven),
              dir.File("last.replay") + ": 223 points, " + std::to_string(frames) +
                  " frames, \"Anna\": proven");
    EXPECT_TRUE(proven);

    const Replay game = Loaded(dir.File("last.replay"));
    Replay paused = game;  // a P in the middle of play: the game stands still from there on
    paused.frames[1000].sym = SDLK_p;
    paused.frames[1000].unicode = 'p';
    EXPECT_NE(Why(paused), "");
    Replay raised = game;
    raised.points += 1;
    EXPECT_EQ(Why(raised),
              "its frames make 223 points, not 224 at frame " + std::to_string(frames));
    Replay renamed = game;
    renamed.name = "Anne";
    EXPECT_NE(Why(renamed).find("\"Anna\", not \"Anne\""), std::string::npos);
    // Kept by a build that stored the spaces typed after a name: still the game's own name.
    renamed.name = "Anna  ";
    EXPECT_EQ(Why(renamed), "");
    renamed.name = " Anna";
    EXPECT_NE(Why(renamed), "");
    Replay older = game;
    older.gameVersion = "0.9.0";
    EXPECT_NE(Why(older).find("version 0.9.0"), std::string::npos);
    Replay unstored = game;
    unstored.frames.pop_back();
    EXPECT_EQ(Why(unstored), "ends without storing a score at frame " + std::to_string(frames - 1));
    Replay goesOn = game;  // a frame after the one that stores the score
    goesOn.frames.emplace_back();
    EXPECT_EQ(Why(goesOn), "stores its score at frame " + std::to_string(frames) +
                               " but goes on to frame " + std::to_string(frames + 1));
    WriteWholeFile(dir.File("cut.replay"), bytes.substr(0, bytes.size() / 2));
    EXPECT_NE(replay::ProveFile(dir.File("cut.replay"), proven).find("not proven: damaged"),
              std::string::npos);
    EXPECT_FALSE(proven);
}

// Every pixel of a frame, as one number; with band, the rows of the watch label's band left out.
constexpr int kLabelBandTop = 36;
constexpr int kLabelBandBottom = 80;
std::size_t FrameHash(SDL_Surface* screen, bool band = false) {
    const auto rowBytes = static_cast<std::size_t>(screen->w * screen->format->BytesPerPixel);
    std::size_t hash = 0;
    for (int y = 0; y < screen->h; ++y) {
        if (band && y >= kLabelBandTop && y < kLabelBandBottom) {
            continue;
        }
        const auto* row = static_cast<const char*>(screen->pixels) + y * screen->pitch;
        hash = hash * 31 + std::hash<std::string_view>()(std::string_view(row, rowBytes));
    }
    return hash;
}

// The watch label, where one was drawn, stands within its band and nowhere else.
void ExpectLabelInItsBand(const GameEngine& engine) {
    const SDL_Rect area = engine.WatchLabelArea();
    if (area.w != 0) {
        EXPECT_GE(area.y, kLabelBandTop);
        EXPECT_LE(area.y + area.h, kLabelBandBottom);
    }
}

class HeldPad : public Gamepad {
  public:
    PadHeld Held() override { return held; }
    PadHeld held;
};

void PushEventOf(Uint8 type, Uint8 button = 0) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_JOYBUTTONDOWN) {
        event.jbutton.type = type;
        event.jbutton.button = button;
        event.jbutton.state = SDL_PRESSED;
    } else {
        event.active.type = type;
        event.active.gain = 0;
        event.active.state = SDL_APPINPUTFOCUS;
    }
    SDL_PushEvent(&event);
}

// Plays one short game: the cannon fires from where it stands until a bomb finds it, with the
// frames' pixels hashed into frames when given.
int StandAndFire(GameEngine& engine, const char* name, bool onThePad, HeldPad& pad,
                 std::vector<std::size_t>* hashes) {
    auto frame = [&]() {
        engine.RunFrame();
        if (hashes != nullptr) {
            hashes->push_back(FrameHash(engine.GetScreen(), true));
        }
    };
    onThePad ? PushEventOf(SDL_JOYBUTTONDOWN, pad::kFireButton) : PushKey(SDLK_RETURN, '\r');
    frame();
    int frames = 1;
    for (; PlayOf(engine) != nullptr && frames < 20000; ++frames) {
        if (frames == 40) {
            // A pause, once with the key (or Start) and once by the window losing its focus.
            onThePad ? PushEventOf(SDL_JOYBUTTONDOWN, pad::kStartButtons[0]) : PushKey(SDLK_p);
        } else if (frames == 60) {
            onThePad ? PushEventOf(SDL_JOYBUTTONDOWN, pad::kStartButtons[0]) : PushKey(SDLK_p);
        } else if (frames == 80) {
            PushEventOf(SDL_ACTIVEEVENT);
        } else if (frames == 90) {
            PushKey(SDLK_p);
        } else if (frames % 2 == 0) {
            onThePad ? PushEventOf(SDL_JOYBUTTONDOWN, pad::kFireButton) : PushKey(SDLK_SPACE, ' ');
        }
        pad.held.left = onThePad && frames % 50 < 10;
        HoldKey(SDLK_RIGHT, !onThePad && frames % 50 < 10);
        frame();
    }
    pad.held.left = false;
    HoldKey(SDLK_RIGHT, false);
    PushText(name);
    for (int i = 0; i < 3; ++i) {
        PushKey(SDLK_RETURN, '\r');
    }
    SDL_Event next;
    while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0) {
        frame();
        ++frames;
    }
    return frames;
}

// Runs frames while the engine watches a game, each frame's pixels but the label's band hashed.
std::vector<std::size_t> WatchedFrames(GameEngine& engine) {
    std::vector<std::size_t> hashes;
    while (engine.Watches().On() && hashes.size() < 30000) {
        engine.RunFrame();
        ExpectLabelInItsBand(engine);
        hashes.push_back(FrameHash(engine.GetScreen(), true));
    }
    return hashes;
}

TEST(RecordedGames, ThreeGamesInOneRunProveAndTheBestAndTheLastWatchFrameForFrame) {
    ScratchDir dir;
    std::srand(1);
    GameEngine engine;
    UseFakeClock(engine);
    engine.Watches().SetFinder(replay::FindBestGame);
    auto owned = std::make_unique<HeldPad>();
    HeldPad& pad = *owned;
    engine.SetGamepad(std::move(owned));
    engine.SetState(new StateMenu(engine.GetAssets()));

    // With no game kept, R on the list says so for two seconds.
    PushKey(SDLK_SPACE, ' ');
    RunFrames(engine, 2);
    const std::size_t bareList = FrameHash(engine.GetScreen());
    PushKey(SDLK_r, 'r');
    engine.RunFrame();
    EXPECT_FALSE(engine.Watches().On());
    ASSERT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
    EXPECT_NE(FrameHash(engine.GetScreen()), bareList);
    RunFrames(engine, 98);
    EXPECT_NE(FrameHash(engine.GetScreen()), bareList);
    engine.RunFrame();
    EXPECT_EQ(FrameHash(engine.GetScreen()), bareList);
    PushKey(SDLK_RETURN, '\r');
    engine.RunFrame();

    std::vector<std::size_t> played[3];
    std::size_t best = 0;
    unsigned bestPoints = 0;
    for (int game = 0; game < 3; ++game) {
        const char* names[] = {"One", "Pad", "Three"};
        const int frames = StandAndFire(engine, names[game], game == 1, pad, &played[game]);
        ASSERT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
        const Replay kept = Loaded(dir.File("last.replay"));
        EXPECT_EQ(kept.frames.size(), static_cast<std::size_t>(frames));
        EXPECT_EQ(Why(kept), "") << "game " << game + 1;
        EXPECT_EQ(kept.drawsBefore == 0, game == 0);
        // Of equal scores, the list watches the name first in order, which is the first played.
        if (game == 0 || kept.points > bestPoints) {
            best = static_cast<std::size_t>(game);
            bestPoints = kept.points;
        }
        PushKey(SDLK_RETURN, '\r');  // back to the menu
        engine.RunFrame();
    }

    // As --replay starts a run: the last game proven, then watched frame for frame as it was
    // played, in place of the list it ends on, which then stays.
    std::string why;
    auto last = replay::ProvenFile(dir.File("last.replay"), why);
    ASSERT_TRUE(last.has_value()) << why;
    replay::StartRun(engine, std::move(last));
    GameState* list = engine.GetState();
    std::vector<std::size_t> watched = WatchedFrames(engine);
    EXPECT_EQ(engine.GetState(), list);
    ASSERT_EQ(watched, played[2]);

    // R on the list watches the best game, one of its frames in each frame of the loop, up to the
    // list as it stands now; then this very list is back and the run goes on as if nothing had
    // been watched.
    engine.RunFrame();
    const std::size_t listed = FrameHash(engine.GetScreen());
    const std::size_t listedBelowLabel = FrameHash(engine.GetScreen(), true);
    const std::uint64_t draws = engine.DrawsSoFar();
    const std::string name = engine.Names().Name();
    const std::string lastKept = ReadWholeFile(dir.File("last.replay"));
    PushKey(SDLK_r, 'r');
    engine.RunFrame();
    EXPECT_EQ(FrameHash(engine.GetScreen()), listed);  // the key's own frame is the list's
    watched = WatchedFrames(engine);
    ASSERT_EQ(watched.size(), played[best].size()) << "game " << best + 1;
    for (std::size_t i = 0; i + 1 < watched.size(); ++i) {
        ASSERT_EQ(watched[i], played[best][i]) << "frame " << i + 1 << " of game " << best + 1;
    }
    EXPECT_EQ(watched.back(), listedBelowLabel);
    EXPECT_EQ(engine.GetState(), list);
    EXPECT_EQ(engine.DrawsSoFar(), draws);
    EXPECT_EQ(engine.Names().Name(), name);
    EXPECT_TRUE(engine.Records().On());
    EXPECT_EQ(ReadWholeFile(dir.File("last.replay")), lastKept);  // nothing stored or kept again
    const int next = std::rand();
    const auto library = MakeGameRandom();
    library->StartAfter(draws);
    EXPECT_EQ(std::rand(), next);
    library->StartAfter(draws);

    // Escape ends a watch in the frame it is pressed, back on the list.
    PushKey(SDLK_r, 'r');
    RunFrames(engine, 30);
    ASSERT_TRUE(engine.Watches().On());
    PushKey(SDLK_ESCAPE, 27);
    engine.RunFrame();
    EXPECT_FALSE(engine.Watches().On());
    EXPECT_FALSE(engine.QuitRequested());
    EXPECT_EQ(engine.GetState(), list);
    engine.RunFrame();
    EXPECT_EQ(FrameHash(engine.GetScreen()), listed);

    ReleaseAllInput();
}

// A replays/ folder the player may not write in: the game says so once and plays on, its score
// stored and its last game kept.
TEST(RecordedGames, AReplayThatCannotBeKeptIsSaidOnceAndTheGamePlaysOn) {
    constexpr uid_t kNobody = 65534;
    constexpr gid_t kNogroup = 65534;
    if (getuid() != 0) {
        GTEST_SKIP() << "needs root to play as nobody";
    }
    namespace fs = std::filesystem;
    ScratchDir dir;
    ASSERT_EQ(chown(dir.Path().c_str(), kNobody, kNogroup), 0);
    fs::create_directory(dir.File("replays"));  // root's
    fs::permissions(dir.File("replays"), fs::perms(0755));
    // Played in a child that is nobody from the start, with standard error as it said it.
    EXPECT_EXIT(
        {
            if (setgid(kNogroup) != 0 || setuid(kNobody) != 0) {
                std::_Exit(10);
            }
            if (access("replays", W_OK) == 0 || access(".", W_OK) != 0) {
                std::_Exit(11);  // the fault would not be the one meant
            }
            GameEngine engine;
            UseFakeClock(engine);
            HeldPad pad;
            engine.SetState(new StateMenu(engine.GetAssets()));
            StandAndFire(engine, "Ann", false, pad, nullptr);
            if (dynamic_cast<StateShowScore*>(engine.GetState()) == nullptr) {
                std::_Exit(12);
            }
            PushKey(SDLK_RETURN, '\r');  // the menu, and a new game
            PushKey(SDLK_RETURN, '\r');
            RunFrames(engine, 3);
            std::_Exit(PlayOf(engine) != nullptr && !engine.QuitRequested() ? 0 : 13);
        },
        testing::ExitedWithCode(0),
        "^arcade-game: cannot keep replays/[0-9]+ points - Ann\\.replay: Permission denied\n$");
    EXPECT_TRUE(fs::is_empty(dir.File("replays")));
    EXPECT_EQ(Loaded(dir.File("last.replay")).name, "Ann");
    EXPECT_NE(ReadWholeFile(dir.File("highscore.txt")).find(" points - Ann"), std::string::npos);
}

replay::Taken Key(SDLKey sym, char typed) {
    replay::Taken taken;
    taken.event = replay::Taken::Event::Key;
    taken.sym = static_cast<std::uint16_t>(sym);
    taken.unicode = static_cast<std::uint16_t>(typed);
    return taken;
}

// A game that never fires: the cannon goes left for `leftward` frames (94 take it from x = 280 to
// the wall), waits, then goes right until a bomb meets it; then the name is typed.
Replay WaitingGame(int leftward, const std::string& name) {
    constexpr int kLongestWait = 20000;  // a bomb always comes long before this
    Replay game;
    game.gameVersion = replay::GameVersion();
    game.points = 0;
    game.name = name;
    game.frames.resize(kLongestWait);
    game.frames[0] = Key(SDLK_RETURN, '\r');
    for (int frame = 1; frame <= leftward; ++frame) {
        game.frames[frame].left = true;
    }
    for (int frame = 150; frame < 250; ++frame) {
        game.frames[frame].right = true;
    }
    for (const char letter : name) {
        game.frames.push_back(Key(static_cast<SDLKey>(std::tolower(letter)), letter));
    }
    game.frames.insert(game.frames.end(), 3, Key(SDLK_RETURN, '\r'));
    return game;
}

// The frames the play screen of a replayed game lasts.
std::size_t PlayLasts(const Replay& game) {
    GameEngine engine{GameEngine::Headless{}};
    engine.SetInput(std::make_unique<replay::ReplayInput>(game.frames));
    replay::StartAsRecorded(engine, game);
    std::size_t frames = 0;
    do {
        engine.RunFrame();
        ++frames;
    } while (PlayOf(engine) != nullptr && frames < game.frames.size());
    return frames;
}

TEST(RecordedGames, TheSamePlayHasOneDigestUnderAnyNameWithIdleArrowsOrPausesAndOnlyIt) {
    const Replay game = WaitingGame(99, "Ann");
    ASSERT_GT(PlayLasts(game), 150u);  // still in play when the copies below differ
    const replay::Verdict proven = replay::Prove(game);
    ASSERT_TRUE(proven.proven) << proven.why;
    ASSERT_EQ(proven.digest.size(), 32u);

    Replay againstTheWall = game;  // the left arrow held on while the cannon stands at the wall
    for (int frame = 100; frame < 150; ++frame) {
        againstTheWall.frames[frame].left = true;
    }
    Replay renamed = WaitingGame(99, "Mallory");
    Replay paused = game;  // ten frames standing still at the wall, from P to P
    paused.frames[120] = Key(SDLK_p, 'p');
    paused.frames.insert(paused.frames.begin() + 120, Key(SDLK_p, 'p'));
    paused.frames.insert(paused.frames.begin() + 121, 8, replay::Taken());
    // An arrow held while paused is none the game read: no recording holds one.
    for (const bool right : {false, true}) {
        Replay heldWhilePaused = paused;
        (right ? heldWhilePaused.frames[125].right : heldWhilePaused.frames[125].left) = true;
        EXPECT_EQ(Why(heldWhilePaused),
                  "holds an arrow where the game reads none (paused) at frame 126")
            << (right ? "right" : "left");
    }
    for (const Replay* same : {&againstTheWall, &renamed, &paused}) {
        const replay::Verdict verdict = replay::Prove(*same);
        ASSERT_TRUE(verdict.proven) << verdict.why;
        EXPECT_EQ(verdict.digest, proven.digest) << same->name << ", " << same->frames.size();
    }

    // The same points, but the cannon stops short of the wall; or the same keys after one draw
    // more.
    const Replay shortOfTheWall = WaitingGame(60, "Ann");
    ASSERT_GT(PlayLasts(shortOfTheWall), 60u);
    const replay::Verdict nearer = replay::Prove(shortOfTheWall);
    ASSERT_TRUE(nearer.proven) << nearer.why;
    EXPECT_NE(nearer.digest, proven.digest);
    Replay later = game;
    later.drawsBefore = 1;
    const replay::Verdict afterADraw = replay::Prove(later);
    if (afterADraw.proven) {
        EXPECT_NE(afterADraw.digest, proven.digest);
    }

    // Tables already hold digests: one that changed with how a proof writes or mixes the field
    // would let a listed play in again. The kept whole game's, fixed.
    Replay kept;
    std::string error;
    ASSERT_TRUE(replay::Load(ARCADE_WHOLE_GAME_REPLAY, kept, error)) << error;
    kept.gameVersion = replay::GameVersion();
    EXPECT_EQ(replay::Prove(kept).digest, "0b06b765c989094b2bf5381b877c82d8");
    EXPECT_EQ(proven.digest, "18140073354e5b7cc332e8cacfd55c8e");
}

// What one frame of a watch does: how many of the game's frames it runs, how many pictures it
// shows and which waits it makes.
struct WatchedStep {
    std::size_t frames = 0;
    std::uint64_t pictures = 0;
    std::vector<Uint32> waits;
    bool operator==(const WatchedStep& other) const {
        return frames == other.frames && pictures == other.pictures && waits == other.waits;
    }
};
std::ostream& operator<<(std::ostream& out, const WatchedStep& step) {
    out << step.frames << " frames, " << step.pictures << " pictures, waits";
    for (const Uint32 wait : step.waits) {
        out << " " << wait;
    }
    return out;
}
WatchedStep StepOnce(GameEngine& engine, replay::Watcher& watcher, FakeClock& clock) {
    const std::size_t frames = watcher.FramesWatched();
    const std::uint64_t pictures = engine.FramesShown();
    const std::size_t waits = clock.delays.size();
    EXPECT_TRUE(watcher.Step());
    return {watcher.FramesWatched() - frames, engine.FramesShown() - pictures,
            std::vector<Uint32>(clock.delays.begin() + static_cast<std::ptrdiff_t>(waits),
                                clock.delays.end())};
}

// Space while watching: twice, four times, then the usual speed again. Each frame shows one
// picture and waits a whole frame; the game's frames between two pictures run unseen.
TEST(RecordedGames, SpaceWatchesAtTwiceThenFourTimesThenTheUsualSpeed) {
    ScratchDir dir;
    GameEngine engine;
    FakeClock* clock = UseFakeClock(engine);
    const Replay game = WaitingGame(99, "Ann");
    replay::Watcher watcher(engine, game);
    std::vector<WatchedStep> steps = {StepOnce(engine, watcher, *clock)};
    for (int press = 0; press < 4; ++press) {
        PushKey(SDLK_SPACE, ' ');
        steps.push_back(StepOnce(engine, watcher, *clock));
    }
    EXPECT_EQ(steps, (std::vector<WatchedStep>{
                         {1, 1, {20}}, {2, 1, {20}}, {4, 1, {20}}, {1, 1, {20}}, {2, 1, {20}}}));
}

Uint32 PixelAt(const SDL_Surface& surface, int x, int y) {
    Uint32 value = 0;
    const auto* row = static_cast<const Uint8*>(surface.pixels) + y * surface.pitch;
    std::memcpy(&value, row + x * surface.format->BytesPerPixel, surface.format->BytesPerPixel);
    return value;
}

// Of the frame's pixels under the watch label's box: how many are the box's black, and how many
// the line's ink.
struct LabelPixels {
    int black = 0;
    int ink = 0;
};
LabelPixels UnderTheLabel(GameEngine& engine) {
    const SDL_Rect area = engine.WatchLabelArea();
    const SDL_Surface& frame = *engine.GetScreen();
    const Uint32 black = SDL_MapRGB(frame.format, 0, 0, 0);
    LabelPixels seen;
    for (int y = area.y; y < area.y + area.h; ++y) {
        for (int x = area.x; x < area.x + area.w; ++x) {
            (PixelAt(frame, x, y) == black ? seen.black : seen.ink) += 1;
        }
    }
    return seen;
}

// A watched game says so on a box of its own over its picture; P holds it still and plays on, M
// mutes as in play, and the player's long waits pass at eight times the speed.
TEST(RecordedGames, AWatchedGameIsLabelledPausesOnPAndSkipsLongWaits) {
    ScratchDir dir;
    Options options;
    options.scale = 2;
    GameEngine engine(options);
    FakeClock* clock = UseFakeClock(engine);
    engine.SetState(new StateMenu(engine.GetAssets()));
    engine.RunFrame();
    EXPECT_EQ(engine.WatchLabelText(), "");
    EXPECT_EQ(engine.WatchLabelArea().w, 0);

    const Replay game = WaitingGame(99, "Ann");
    {
        replay::Watcher watcher(engine, game);
        ASSERT_TRUE(watcher.Step());
        EXPECT_EQ(engine.WatchLabelText(), "Replay 1x");
        // On a box of its own at the right, clear of the top bar's level and score.
        const SDL_Rect area = engine.WatchLabelArea();
        EXPECT_GT(area.x, 320);
        EXPECT_LE(area.x + area.w, 640);
        ExpectLabelInItsBand(engine);
        const LabelPixels seen = UnderTheLabel(engine);
        EXPECT_GT(seen.black, seen.ink);
        EXPECT_GT(seen.ink, 50);
        PushKey(SDLK_SPACE, ' ');
        ASSERT_TRUE(watcher.Step());
        EXPECT_EQ(engine.WatchLabelText(), "Replay 2x");

        PushKey(SDLK_p, 'p');
        ASSERT_TRUE(watcher.Step());
        const std::size_t still = FrameHash(engine.GetScreen());
        EXPECT_EQ(engine.WatchLabelText(), "Replay paused - press P to play on");
        for (int frame = 0; frame < 5; ++frame) {
            ASSERT_TRUE(watcher.Step());
            EXPECT_EQ(clock->delays.back(), 20u);
        }
        EXPECT_EQ(FrameHash(engine.GetScreen()), still);
        PushKey(SDLK_m, 'm');
        ASSERT_TRUE(watcher.Step());
        EXPECT_TRUE(engine.Muted());
        PushKey(SDLK_m, 'm');
        PushKey(SDLK_p, 'p');
        ASSERT_TRUE(watcher.Step());
        ASSERT_TRUE(watcher.Step());
        EXPECT_FALSE(engine.Muted());
        EXPECT_EQ(engine.WatchLabelText(), "Replay 2x");
        EXPECT_EQ(StepOnce(engine, watcher, *clock), (WatchedStep{2, 1, {20}}));

        // Nothing is pressed from frame 250 on: after two seconds of it, eight times the speed,
        // eight of the game's frames to one picture and one frame's wait, here at twice the size.
        int frames = 0;
        while (engine.WatchLabelText() == "Replay 2x" && frames < 400) {
            ASSERT_TRUE(watcher.Step());
            ++frames;
        }
        EXPECT_EQ(engine.WatchLabelText(), "Replay 8x (skipping a wait)");
        for (int frame = 0; frame < 3; ++frame) {
            EXPECT_EQ(StepOnce(engine, watcher, *clock), (WatchedStep{8, 1, {20}}));
        }
    }
    engine.RunFrame();
    EXPECT_EQ(engine.WatchLabelText(), "");
    EXPECT_EQ(engine.WatchLabelArea().w, 0);

    // A wait of just two seconds is watched as it was played; one a frame longer is skipped.
    for (const int quiet : {100, 101}) {
        Replay waited = game;
        for (int frame = 100; frame < 250; ++frame) {
            waited.frames[frame].right = frame >= 100 + quiet;
        }
        replay::Watcher watcher(engine, waited);
        bool skipped = false;
        while (watcher.FramesWatched() < 250 && watcher.Step()) {
            skipped = skipped || engine.WatchLabelText() == "Replay 8x (skipping a wait)";
        }
        EXPECT_EQ(skipped, quiet > 100) << quiet << " frames without input";
    }

    // A best game that does not prove leaves the next best one that does to watch.
    Replay forged = game;
    forged.points = 500;
    std::string error;
    ASSERT_TRUE(replay::KeepReplay(forged, {}, error)) << error;
    EXPECT_EQ(replay::FindBestGame(engine), nullptr);
    ASSERT_TRUE(replay::KeepReplay(game, {}, error)) << error;
    EXPECT_NE(replay::FindBestGame(engine), nullptr);
    ReleaseAllInput();
}

// Everything of the player's a game may write: the scores, the kept games and the settings, each
// file's name, size and a hash of its bytes (the pictures and the font are links).
std::string PlayersFiles(const ScratchDir& dir) {
    std::string files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path())) {
        if (!entry.is_symlink() && entry.is_regular_file() &&
            entry.path().filename() != "crafted.replay") {
            const std::string bytes = ReadWholeFile(entry.path().string());
            files += entry.path().string() + ": " + std::to_string(bytes.size()) + " bytes, " +
                     std::to_string(std::hash<std::string>()(bytes)) + "\n";
        }
    }
    return files;
}

// Runs frames while the engine watches, up to a bound.
void RunWhileWatching(GameEngine& engine) {
    for (int frame = 0; engine.Watches().On() && frame < 30000; ++frame) {
        engine.RunFrame();
    }
}

// A kept game damaged or tampered with in the ways a file from elsewhere may be. Each is proven;
// each that does not prove is named and never watched as --replay watches, and watched anyway
// (as nothing in the game would) it ends where it began: the player's list, name and draws back,
// nothing of the watched game left to take a key. One that proves with its player's switches
// pressed changes none of this player's. Nothing is ever written.
TEST(RecordedGames, ACraftedReplayIsNamedNotWatchedAndNoWatchLeavesAnythingBehindOrWritesAFile) {
    ScratchDir dir;
    Options options;
    options.settingsPath = dir.File("settings");
    GameEngine engine(options);
    UseFakeClock(engine);
    engine.Watches().SetFinder(replay::FindBestGame);
    HeldPad pad;
    engine.SetState(new StateMenu(engine.GetAssets()));
    StandAndFire(engine, "Ann", false, pad, nullptr);
    ASSERT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
    const Replay kept = Loaded(dir.File("last.replay"));
    const std::string bytes = replay::Encode(kept);
    const std::string files = PlayersFiles(dir);
    const bool muted = engine.Muted();

    Replay lastDropped = kept;
    lastDropped.frames.pop_back();
    Replay enterBlanked = kept;
    enterBlanked.frames.back() = replay::Taken();
    Replay switched = kept;  // mute, a larger window and full screen, pressed in play
    const SDLKey switches[] = {SDLK_m, SDLK_PAGEUP, SDLK_F11};
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(switched.frames[5 + 2 * i].event, replay::Taken::Event::None);
        switched.frames[5 + 2 * i] = Key(switches[i], i == 0 ? 'm' : 0);
    }
    std::string flipped = bytes;
    flipped[bytes.size() / 2] ^= 0x20;
    struct Crafted {
        const char* what;
        std::string bytes;
        const char* why;  // words of what does not hold; none for a game that proves
    };
    const Crafted crafted[] = {
        {"cut in the middle", bytes.substr(0, bytes.size() / 2), "check sum"},
        {"last frame dropped", replay::Encode(lastDropped), "ends without storing a score"},
        {"storing Enter blanked", replay::Encode(enterBlanked), "ends without storing a score"},
        {"a byte flipped", flipped, "check sum"},
        {"bytes appended", bytes + "more", "check sum"},
        {"its player's switches pressed", replay::Encode(switched), nullptr},
    };
    for (const Crafted& game : crafted) {
        SCOPED_TRACE(game.what);
        const std::string file = dir.File("crafted.replay");
        WriteWholeFile(file, game.bytes);
        bool proven = false;
        const std::string line = replay::ProveFile(file, proven);
        std::printf("%s: %s\n", game.what, line.c_str());
        EXPECT_EQ(proven, game.why == nullptr) << line;

        engine.SetState(new StateShowScore(engine.GetAssets()));
        engine.RunFrame();
        GameState* list = engine.GetState();
        const std::uint64_t draws = engine.DrawsSoFar();
        std::string why;
        auto watched = replay::ProvenFile(file, why);
        if (game.why != nullptr) {
            EXPECT_FALSE(watched.has_value());
            EXPECT_NE(why.find(file + ": "), std::string::npos) << why;
            EXPECT_NE(why.find(game.why), std::string::npos) << why;
            Replay loaded;
            if (replay::Decode(game.bytes, loaded, why)) {
                replay::Watcher watcher(engine, loaded);
                while (watcher.Step()) {
                }
            }
        } else {
            ASSERT_TRUE(watched.has_value()) << why;
            ASSERT_TRUE(replay::StartWatching(engine, std::move(*watched)));
            RunWhileWatching(engine);
        }
        EXPECT_FALSE(engine.Watches().On());
        EXPECT_EQ(engine.GetState(), list);
        EXPECT_EQ(engine.DrawsSoFar(), draws);
        EXPECT_EQ(engine.Names().Name(), "Ann");
        EXPECT_EQ(engine.Muted(), muted);
        EXPECT_TRUE(engine.Records().On());
        // Whatever of the watched game were left would take these keys, and store its score.
        PushText("Eve");
        PushKey(SDLK_RETURN, '\r');
        RunUntilQueueEmpty(engine);
        EXPECT_EQ(PlayersFiles(dir), files);
    }
    ReleaseAllInput();
}

}  // namespace
