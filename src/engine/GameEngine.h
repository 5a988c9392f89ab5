#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "engine/Clock.h"
#include "engine/Controls.h"
#include "engine/Display.h"
#include "engine/FrameInput.h"
#include "engine/GameKey.h"
#include "engine/KeptSettings.h"
#include "engine/Options.h"
#include "engine/PauseNote.h"
#include "engine/Recording.h"
#include "engine/ScreenEngine.h"
#include "engine/WatchLabel.h"
#include "engine/Watching.h"
#include "gfx/Assets.h"
#include "net/SharedTable.h"
#include "random/Random.h"
#include "report/DataFolder.h"
#include "report/MissingFiles.h"
#include "sound/Sound.h"

// Owns the window and the current screen and runs the paced main loop: each frame one event,
// routed by the controls, the held ways, the screen's update and drawing, the name overlay and
// the flip. Recording and watching are parts of their own; the screens see only ScreenEngine.
class GameEngine : public ScreenEngine {
  public:
    // The length of a frame in milliseconds: at most 50 frames a second.
    static constexpr Uint32 kFrameMilliseconds = 20;

    // Sets up SDL, the window and the font library. A failed step ends the process with status 1
    // and one line on standard error: there is no game without a window. Without options the
    // window is the game's 640 x 480 and no settings are read or kept. Pictures, sounds and the
    // font are read from data, which outlives the engine.
    explicit GameEngine(const Options& options = {},
                        const DataFolder& data = DataFolder::Working());
    // For proving a replay: no SDL, no window, no font, no sound, no waits and no drawing. Its
    // screens and lines are made with NoAssets, so that nothing of them loads a file or asks SDL
    // anything, and no game is recorded. Its bombs draw from a sequence of its own, so that
    // engines in several threads each prove their own game.
    struct Headless {};
    explicit GameEngine(Headless);
    ~GameEngine();
    GameEngine(const GameEngine&) = delete;
    GameEngine& operator=(const GameEngine&) = delete;

    // Runs frames until Escape (outside name typing) or the window is closed.
    void Loop();
    // One frame of the loop: the player's own, or while a kept game is watched, one of its.
    void RunFrame();
    // One frame: one event, held arrows, update, draw, name overlay, flip, wait out the frame.
    // While paused, only the event, the drawing (with a note on how to go on), flip and wait.
    void PlayFrame();
    // A frame of the game run and not shown: the event, held arrows and update, and no drawing,
    // flip or wait. The next frame shown waits out one frame from the first of these before it,
    // so a watch faster than the game's pace runs them between the frames it shows, and shows
    // one picture a frame whatever a picture costs.
    void RunUnshownFrame();
    bool QuitRequested() const { return quit; }
    // A frame that stands still while a watch is paused: the picture as it was, flip and wait.
    void HoldFrame();
    // How many frames were brought to the screen so far.
    std::uint64_t FramesShown() const { return framesShown; }

    // The line over the picture while a kept game is watched; empty (and nothing drawn) otherwise.
    void SetWatchLabel(std::string text) { watchLabelText = std::move(text); }
    const std::string& WatchLabelText() const { return watchLabelText; }
    // Where the label stands in the frame, as last drawn; empty when none was.
    SDL_Rect WatchLabelArea() const { return watchLabel->Area(); }
    // A key of the player's while a game is watched: full screen, the window's size and mute are
    // carried out as in play; anything else is handed back for the watch to carry out.
    Command WatchersKey(const SDL_Event& event);

    // What the screens ask.
    void SetState(GameState* state) override;
    void SetEntername() override { nameEntry->ToggleOn(); }
    void SetNameentered() override { nameEntry->ToggleConfirmed(); }
    void SetName() override;
    void PlaySound(Effect effect) override;
    // The engine's generator, counted, so that a replay of a later game in the same run can start
    // from the same point in the sequence.
    int BombDraw() override;
    void GameStarts() override { recording.GameStarts(draws, nameEntry->Name()); }
    void ScoreStored(int points) override { recording.ScoreStored(points); }
    // From the next frame on, the best game kept plays in place of the player's, one of its
    // frames in each frame of the loop. Then the screen that asked comes back, and the run goes
    // on as if nothing had been watched. Nothing happens when no game is kept.
    bool WatchBestGame() override { return watching.Ask(*this); }
    bool WatchGame(const std::string& replay, std::string& why) override {
        return watching.Prove(*this, replay, why);
    }
    bool PlayersSettingsInUse() const override { return settings.InUse(); }
    net::SharedTable* SharedScores() override { return sharedTable.get(); }
    // The address of the shared table the player named (the option, else the settings); empty
    // for none.
    const std::string& NamedTable() const { return namedTable; }
    // The table every game stored from now on is sent to, and the list shows; the engine owns it.
    void UseSharedTable(std::unique_ptr<net::SharedTable> table) { sharedTable = std::move(table); }

    GameState* GetState() const { return currentState.get(); }
    // What the screens of this engine are made with: the first one, and each one the next.
    Assets& GetAssets() { return *assets; }
    // The 640 x 480 picture every screen draws on; none while proving a replay.
    SDL_Surface* GetScreen() { return display != nullptr ? display->Frame() : nullptr; }
    // The name as typed, its switches, and a start from where an earlier game left it.
    NameEntry& Names() { return *nameEntry; }
    bool Muted() const { return muted; }
    // Only a screen that says it can pause is ever paused; installing another one ends a pause.
    bool Paused() const { return paused; }

    // The draws made so far: where a recorded game starts.
    std::uint64_t DrawsSoFar() const { return draws; }
    // Puts the generator, and the count, where an unseeded run that made drawsBefore draws left
    // them.
    void StartDrawsAfter(std::uint64_t drawsBefore);
    Recording& Records() { return recording; }
    Watching& Watches() { return watching; }
    // What a watch does as it begins and as it ends: the player's screen (which the engine no
    // longer runs), name and draws are set aside, and later given back as they were; the engine
    // is then no longer quitting, and runs that screen again.
    PlayerSeat SetPlayerAside();
    void BringPlayerBack(PlayerSeat player);

    // Where the frames' input, time, sound and pad come from. The two that hand back the one
    // they replace are swapped for a while by a replay.
    std::unique_ptr<Clock> SetClock(std::unique_ptr<Clock> replacement) {
        clock.swap(replacement);
        return replacement;
    }
    std::unique_ptr<FrameInput> SetInput(std::unique_ptr<FrameInput> replacement) {
        input.swap(replacement);
        return replacement;
    }
    void SetSound(std::unique_ptr<Sound> replacement) { sound = std::move(replacement); }
    void SetGamepad(std::unique_ptr<Gamepad> replacement) { gamepad = std::move(replacement); }

  private:
    // The part of a frame that moves the game on: one event, held arrows, update.
    void MoveFrame();
    void HandleEvent(const SDL_Event& event);
    void SendKey(GameKey key);
    void SendHeldArrows(HeldWays held);
    bool InPlay() const;
    void TogglePause();
    void PauseInPlay();
    void ToggleMute();
    void ToggleFullScreen();
    void StepWindowScale(int step);
    Settings CurrentSettings() const;
    void WaitForFrameEnd(Uint32 frameEnd);

    // First made and last gone: every file that any part of the game fails to load is named here.
    const DataFolder& data;
    MissingFiles missingFiles{data};
    // The folder's pictures and font, handed to every screen and line; none while proving.
    std::unique_ptr<Assets> assets;
    std::unique_ptr<Display> display;  // none while proving a replay
    KeptSettings settings;
    std::unique_ptr<GameState> currentState;
    bool quit = false;
    std::unique_ptr<NameEntry> nameEntry;
    std::unique_ptr<Clock> clock = std::make_unique<SdlClock>();
    std::unique_ptr<Sound> sound = std::make_unique<SilentSound>();
    bool muted = false;
    bool paused = false;
    std::unique_ptr<PauseNote> pauseNote;
    std::unique_ptr<WatchLabel> watchLabel = std::make_unique<WatchLabel>(*assets);
    std::string watchLabelText;
    std::unique_ptr<Gamepad> gamepad;  // null without a joystick
    std::unique_ptr<FrameInput> input = std::make_unique<LiveInput>();
    KeyBindings keys;  // the player's own keys to move and fire, from the settings
    // The platform's own, or (while proving) one that jumps ahead and is this engine's alone.
    std::unique_ptr<Random> random;
    std::uint64_t draws = 0;
    Recording recording;
    Watching watching;
    std::optional<Uint32> unshownSince;  // when the frames run unshown since the last shown began
    std::uint64_t framesShown = 0;
    // The shared table the player named, which every stored game is sent to; none without one.
    std::string namedTable;
    std::unique_ptr<net::SharedTable> sharedTable;
    bool sdlStarted = true;  // a headless engine leaves SDL as it found it
};
