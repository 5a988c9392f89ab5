#include "engine/GameEngine.h"

#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "engine/DisplayRules.h"
#include "engine/TerminalDriver.h"
#include "engine/UsedEvents.h"
#include "engine/WindowIcon.h"
#include "gfx/FolderAssets.h"
#include "random/RandSequence.h"
#include "sound/MixerSound.h"

namespace {
constexpr const char* kWindowTitle = "Arcade Game";

// Without SDL, a window or fonts there is nothing to run: say why in one line and stop.
[[noreturn]] void Stop(const std::string& why) {
    std::fprintf(stderr, "arcade-game: %s\n", why.c_str());
    SDL_Quit();
    std::exit(1);
}

[[noreturn]] void StopAfterFailed(const char* step) {
    Stop(std::string(step) + " failed: " + SDL_GetError());
}
}  // namespace

GameEngine::GameEngine(const Options& options, const DataFolder& data)
    : data(data),
      assets(std::make_unique<FolderAssets>(data, missingFiles)),
      settings(options.settingsPath),
      random(MakeGameRandom()) {
    Settings chosen = settings.Read();
    chosen.scale = options.scale.value_or(chosen.scale);
    muted = !chosen.soundOn;
    keys = chosen.keys;
    std::string noWindow;
    if (!StartSdlOnWindow(noWindow)) {
        Stop(noWindow);
    }
    // The game never uses SDL's timers, and with them SDL keeps a thread that wakes every
    // millisecond for as long as the game runs. The clock and the waits of the frame work
    // without it.
    SDL_QuitSubSystem(SDL_INIT_TIMER);
    SetWindowIcon();
    display = std::make_unique<Display>(chosen.scale, chosen.fullScreen, ReadDesktopSize(),
                                        chosen.fullScreenWholeScales);
    if (display->Frame() == nullptr) {
        StopAfterFailed("SDL_SetVideoMode");
    }
    settings.Start(CurrentSettings());
    if (TTF_Init() == -1) {
        StopAfterFailed("TTF_Init");
    }
    SDL_WM_SetCaption(kWindowTitle, nullptr);
    IgnoreUnusedEvents();
    // Name entry reads the characters SDL translates the keys into.
    SDL_EnableUNICODE(1);
    sound = OpenMixerSound(data, missingFiles);
    gamepad = OpenFirstGamepad();
    nameEntry = std::make_unique<NameEntry>(*assets);
    pauseNote = std::make_unique<PauseNote>(display::kFrameWidth, *assets);
    // Only a table the player named is ever reached: the option, or else the settings.
    namedTable = options.scoresServer.empty() ? chosen.scoresServer : options.scoresServer;
}

namespace {
// Proving runs as fast as the frames can go.
class NoClock : public Clock {
  public:
    Uint32 Ticks() override { return 0; }
    void Delay(Uint32 /*milliseconds*/) override {}
};
}  // namespace

GameEngine::GameEngine(Headless)
    : data(DataFolder::Working()),
      assets(std::make_unique<NoAssets>()),
      settings(""),
      clock(std::make_unique<NoClock>()),
      random(std::make_unique<RandSequence>()),
      sdlStarted(false) {
    recording.SetOn(false);
    nameEntry = std::make_unique<NameEntry>(*assets);
    pauseNote = std::make_unique<PauseNote>(display::kFrameWidth, *assets);
}

GameEngine::~GameEngine() {
    // Its worker ends at once, whatever the table is doing: games not yet answered for wait in
    // the outbox for the next start.
    sharedTable.reset();
    // A watch gives the player's input and clock back, and its screens go with the others.
    watching.End();
    currentState.reset();
    // Fonts must close before the font library goes.
    nameEntry.reset();
    pauseNote.reset();
    watchLabel.reset();
    // The mixer and the joystick belong to SDL's subsystems: they go before SDL does.
    sound.reset();
    gamepad.reset();
    if (sdlStarted) {
        TTF_Quit();
        assets.reset();
        display.reset();
        SDL_Quit();
    }
}

void GameEngine::SetState(GameState* state) {
    paused = false;
    currentState.reset();
    currentState.reset(state);
    if (state != nullptr) {
        state->SetEngine(this);
    }
}

void GameEngine::SetName() {
    if (currentState != nullptr) {
        currentState->SetName(nameEntry->Name());
    }
}

void GameEngine::Loop() {
    quit = false;
    while (!quit) {
        RunFrame();
    }
}

void GameEngine::RunFrame() {
    if (!watching.On()) {
        PlayFrame();
        return;
    }
    if (watching.Waiting()) {
        watching.Begin();
    }
    // Escape in the watched game's own frames is not the player's: it ends only the watch.
    if (!watching.Step() || quit) {
        watching.End();
    }
}

PlayerSeat GameEngine::SetPlayerAside() {
    return {std::move(currentState), std::exchange(nameEntry, std::make_unique<NameEntry>(*assets)),
            draws};
}

void GameEngine::BringPlayerBack(PlayerSeat player) {
    quit = false;
    StartDrawsAfter(player.draws);
    nameEntry = std::move(player.nameEntry);
    SetState(player.screen.release());
}

int GameEngine::BombDraw() {
    ++draws;
    return random->Draw();
}

void GameEngine::StartDrawsAfter(std::uint64_t drawsBefore) {
    random->StartAfter(drawsBefore);
    draws = drawsBefore;
}

void GameEngine::PlayFrame() {
    // Frames run unshown just before this one are part of its time.
    const Uint32 frameEnd = unshownSince.value_or(clock->Ticks()) + kFrameMilliseconds;
    unshownSince.reset();
    MoveFrame();
    // Proving draws nothing: drawing never changes the game.
    SDL_Surface* frame = GetScreen();
    if (frame == nullptr) {
        return;
    }
    if (currentState != nullptr) {
        currentState->Draw(frame);
    }
    if (paused) {
        pauseNote->Draw(frame);
    }
    nameEntry->Draw(frame);
    watchLabel->Draw(frame, watchLabelText);
    display->Present();
    ++framesShown;

    WaitForFrameEnd(frameEnd);
}

void GameEngine::RunUnshownFrame() {
    if (!unshownSince.has_value()) {
        unshownSince = clock->Ticks();
    }
    MoveFrame();
}

void GameEngine::MoveFrame() {
    // One event a frame: a burst of presses is worked off over the following frames.
    SDL_Event event;
    const bool taken = input->NextEvent(event);
    const bool typing = nameEntry->Typing();
    // A key the player bound to fire is Space from here on, also in the recorded game, which
    // then proves wherever it is replayed.
    if (taken && event.type == SDL_KEYDOWN && !typing && keys.Fires(event.key.keysym.sym)) {
        event.key.keysym.sym = SDLK_SPACE;
        event.key.keysym.unicode = ' ';
    }
    if (taken) {
        HandleEvent(event);
    }
    // A paused game stands still: no keys, no update, so no bomb is drawn for either.
    HeldWays held;
    if (!paused) {
        held =
            nameEntry->Typing() ? input->Held(nullptr, nullptr) : input->Held(gamepad.get(), &keys);
        SendHeldArrows(held);
    }
    recording.Take(taken ? &event : nullptr, held);
    const auto stored = recording.KeepStored(nameEntry->Name());
    if (stored && sharedTable != nullptr) {
        sharedTable->Send(*stored);
    }

    // A screen may replace itself in any of these calls, so each one asks for the current one.
    if (currentState != nullptr && !paused) {
        currentState->MoveSprites();
    }
}

void GameEngine::HoldFrame() {
    const Uint32 frameEnd = clock->Ticks() + kFrameMilliseconds;
    SDL_Surface* frame = GetScreen();
    if (frame == nullptr) {
        return;
    }
    watchLabel->Draw(frame, watchLabelText);
    display->Present();
    ++framesShown;
    WaitForFrameEnd(frameEnd);
}

void GameEngine::PlaySound(Effect effect) {
    if (!muted) {
        sound->Play(effect);
    }
}

void GameEngine::WaitForFrameEnd(Uint32 frameEnd) {
    // Read the clock once: the remainder is signed, so a frame that overran waits not at all
    // instead of wrapping round to a wait of weeks.
    const Sint32 remaining = static_cast<Sint32>(frameEnd - clock->Ticks());
    if (remaining > 0) {
        clock->Delay(static_cast<Uint32>(remaining));
    }
}
