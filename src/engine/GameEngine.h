#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/Clock.h"
#include "engine/Display.h"
#include "engine/FrameInput.h"
#include "engine/GameKey.h"
#include "engine/GameState.h"
#include "engine/Gamepad.h"
#include "engine/NameEntry.h"
#include "engine/Options.h"
#include "engine/PauseNote.h"
#include "engine/Settings.h"
#include "engine/Watch.h"
#include "gfx/PictureShelf.h"
#include "random/Random.h"
#include "replay/Recorder.h"
#include "report/MissingFiles.h"
#include "sound/Sound.h"

// Owns the window and the current screen, runs the paced main loop and collects the player's
// name after a game.
class GameEngine {
  public:
    // The length of a frame in milliseconds: at most 50 frames a second.
    static constexpr Uint32 kFrameMilliseconds = 20;

    // Sets up SDL, the window and the font library. A failed step ends the process with status 1
    // and one line on standard error: there is no game without a window. Without options the
    // window is the game's 640 x 480 and no settings are read or kept.
    explicit GameEngine(const Options& options = {});
    // For proving a replay: no SDL, no window, no font, no sound, no waits and no drawing. The
    // screens' pictures load as none, and no game is recorded. Its bombs draw from a sequence of
    // its own, so that engines in several threads each prove their own game.
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

    // Takes ownership of state and destroys the current one, which may be the caller.
    void SetState(GameState* state);
    GameState* GetState() const { return currentState.get(); }
    // The 640 x 480 picture every screen draws on; none while proving a replay.
    SDL_Surface* GetScreen() { return display != nullptr ? display->Frame() : nullptr; }

    // Name entry. The two setters toggle: each flag goes on with one call and off with the next.
    void SetEntername() { nameEntry->ToggleOn(); }
    void SetNameentered() { nameEntry->ToggleConfirmed(); }
    // Hands a copy of the typed name to the current screen.
    void SetName();

    // LoadImage, for the screens: a picture with orange (255, 128, 0) as its transparent colour.
    static SDL_Surface* load_image(std::string path);

    // Plays an effect unless the player has muted the game (M).
    void PlaySound(Effect effect);
    bool Muted() const { return muted; }
    // Only a screen that says it can pause is ever paused; installing another one ends a pause.
    bool Paused() const { return paused; }

    // Hands back the clock it replaces.
    std::unique_ptr<Clock> SetClock(std::unique_ptr<Clock> replacement) {
        clock.swap(replacement);
        return replacement;
    }
    void SetSound(std::unique_ptr<Sound> replacement) { sound = std::move(replacement); }
    void SetGamepad(std::unique_ptr<Gamepad> replacement) { gamepad = std::move(replacement); }
    // Hands back the input it replaces.
    std::unique_ptr<FrameInput> SetInput(std::unique_ptr<FrameInput> replacement) {
        input.swap(replacement);
        return replacement;
    }
    bool QuitRequested() const { return quit; }
    bool IsTypingName() const { return nameEntry->Typing(); }
    bool NameEntryOn() const { return nameEntry->On(); }
    bool NameConfirmed() const { return nameEntry->Confirmed(); }
    const std::string& GetPlayerName() const { return nameEntry->Name(); }
    // A replay starts from the name its game started from, shown as name typing left it; after
    // an earlier game in the run, the prompt that game left shows too.
    void ResumeNameEntry(const std::string& name, bool afterAnotherGame) {
        nameEntry->Resume(name, afterAnotherGame);
    }

    // The one source of the bombs' chance: the engine's generator, counted, so that a replay of a
    // later game in the same run can start from the same point in the sequence.
    int BombDraw();
    std::uint64_t DrawsSoFar() const { return draws; }
    // Puts the generator, and the count, where an unseeded run that made drawsBefore draws left
    // them.
    void StartDrawsAfter(std::uint64_t drawsBefore);
    // Whether games are recorded; a game being watched is not.
    void RecordGames(bool on) { recordGames = on; }
    bool RecordsGames() const { return recordGames; }
    // The menu starts a game: its recording begins with this frame.
    void GameStarts();
    // The score of the game just played is stored: its replay is kept after this frame.
    void ScoreStored(int points) { storedPoints = points; }

    // Where the list's key finds the game to watch; without a finder the key does nothing.
    void SetWatchFinder(WatchFinder finder) { findWatch = std::move(finder); }
    // The list's key: from the next frame on, the best game kept plays in place of the player's,
    // one of its frames in each frame of the loop. Then the screen that asked comes back, and the
    // run goes on as if nothing had been watched. Nothing happens when no game is kept.
    void WatchBestGame();
    bool Watching() const { return watch != nullptr; }

  private:
    void HandleEvent(const SDL_Event& event);
    void KeyDown(const SDL_keysym& key);
    void PadButton(Uint8 button);
    void SendKey(GameKey key);
    void SendHeldArrows(HeldWays held);
    void KeepReplay(int points);
    bool InPlay() const;
    void TogglePause();
    void PauseInPlay();
    void ToggleMute();
    void ToggleFullScreen();
    void StepWindowScale(int step);
    Settings CurrentSettings() const;
    // Writes the player's settings when one of them has changed.
    void KeepSettings();
    void TypeNameKey(const SDL_keysym& key);
    void WaitForFrameEnd(Uint32 frameEnd);
    void BeginWatch();
    void EndWatch();

    // First made and last gone: every file that any part of the game fails to load is named here.
    MissingFiles missingFiles;
    std::unique_ptr<Display> display;            // none while proving a replay
    std::unique_ptr<PictureShelf> pictures;      // likewise
    std::unique_ptr<SettingsFile> settingsFile;  // null when the player keeps no settings
    Settings kept;                               // as the game started, or as last written
    std::unique_ptr<GameState> currentState;
    bool quit = false;
    std::unique_ptr<NameEntry> nameEntry;
    std::unique_ptr<Clock> clock = std::make_unique<SdlClock>();
    std::unique_ptr<Sound> sound = std::make_unique<SilentSound>();
    bool muted = false;
    bool paused = false;
    std::unique_ptr<PauseNote> pauseNote;
    std::unique_ptr<Gamepad> gamepad;  // null without a joystick
    std::unique_ptr<FrameInput> input = std::make_unique<LiveInput>();
    // The platform's own, or (while proving) one that jumps ahead and is this engine's alone.
    std::unique_ptr<Random> random;
    std::uint64_t draws = 0;
    replay::Recorder recorder;
    bool recordGames = true;
    bool sdlStarted = true;           // a headless engine leaves SDL as it found it
    std::optional<int> storedPoints;  // set in the frame that stores a score
    WatchFinder findWatch;
    std::unique_ptr<Watch> watch;  // while a kept game is watched, or asked for
    bool watchBegun = false;
    // The player's own, waiting while a kept game is watched.
    struct SetAside {
        std::unique_ptr<GameState> screen;
        std::unique_ptr<NameEntry> nameEntry;
        std::uint64_t draws = 0;
    } aside;
};
