// Whole games recorded as they are played, then proved without a window and watched again.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/GameEngine.h"
#include "play/AimAndDodge.h"
#include "play/PlayFixture.h"
#include "playback/Prover.h"
#include "playback/Watcher.h"
#include "replay/Recorder.h"
#include "replay/ReplayFile.h"
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
    engine.SetState(new StateMenu());
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
    Replay older = game;
    older.gameVersion = "0.9.0";
    EXPECT_NE(Why(older).find("version 0.9.0"), std::string::npos);
    Replay unstored = game;
    unstored.frames.pop_back();
    EXPECT_EQ(Why(unstored), "ends without storing a score at frame " + std::to_string(frames - 1));
    WriteWholeFile(dir.File("cut.replay"), bytes.substr(0, bytes.size() / 2));
    EXPECT_NE(replay::ProveFile(dir.File("cut.replay"), proven).find("not proven: damaged"),
              std::string::npos);
    EXPECT_FALSE(proven);
}

// Every pixel of a frame, as one number.
std::size_t FrameHash(SDL_Surface* screen) {
    const auto rowBytes = static_cast<std::size_t>(screen->w * screen->format->BytesPerPixel);
    std::size_t hash = 0;
    for (int y = 0; y < screen->h; ++y) {
        const auto* row = static_cast<const char*>(screen->pixels) + y * screen->pitch;
        hash = hash * 31 + std::hash<std::string_view>()(std::string_view(row, rowBytes));
    }
    return hash;
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
            hashes->push_back(FrameHash(engine.GetScreen()));
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

TEST(RecordedGames, ThreeGamesInOneRunProveAndTheLastWatchesFrameForFrame) {
    ScratchDir dir;
    std::srand(1);
    GameEngine engine;
    UseFakeClock(engine);
    auto owned = std::make_unique<HeldPad>();
    HeldPad& pad = *owned;
    engine.SetGamepad(std::move(owned));
    engine.SetState(new StateMenu());

    std::vector<std::size_t> played;
    for (int game = 0; game < 3; ++game) {
        const char* names[] = {"One", "Pad", "Three"};
        const int frames =
            StandAndFire(engine, names[game], game == 1, pad, game == 2 ? &played : nullptr);
        ASSERT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
        const Replay kept = Loaded(dir.File("last.replay"));
        EXPECT_EQ(kept.frames.size(), static_cast<std::size_t>(frames));
        EXPECT_EQ(Why(kept), "") << "game " << game + 1;
        EXPECT_EQ(kept.drawsBefore == 0, game == 0);
        PushKey(SDLK_RETURN, '\r');  // back to the menu
        engine.RunFrame();
    }

    const Replay last = Loaded(dir.File("last.replay"));
    std::vector<std::size_t> watched;
    {
        replay::Watcher watcher(engine, last);
        while (watcher.Step()) {
            watched.push_back(FrameHash(engine.GetScreen()));
        }
        watched.push_back(FrameHash(engine.GetScreen()));
    }
    EXPECT_NE(dynamic_cast<StateShowScore*>(engine.GetState()), nullptr);
    ASSERT_EQ(watched.size(), played.size());
    for (std::size_t i = 0; i < played.size(); ++i) {
        ASSERT_EQ(watched[i], played[i]) << "frame " << i + 1 << " of " << played.size();
    }

    ReleaseAllInput();
}

}  // namespace
