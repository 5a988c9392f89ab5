#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "engine/Clock.h"
#include "engine/GameKey.h"
#include "engine/GameState.h"
#include "engine/Gamepad.h"
#include "gfx/Text.h"
#include "sound/Sound.h"

// Owns the window and the current screen, runs the paced main loop and collects the player's
// name after a game.
class GameEngine {
  public:
    // Sets up SDL, the window and the font library. A failed step ends the process with status 1
    // and one line on standard error: there is no game without a window.
    GameEngine();
    ~GameEngine();
    GameEngine(const GameEngine&) = delete;
    GameEngine& operator=(const GameEngine&) = delete;

    // Runs frames until Escape (outside name typing) or the window is closed.
    void Loop();
    // One frame: one event, held arrows, update, draw, name overlay, flip, wait out the frame.
    // While paused, only the event, the drawing (with a note on how to go on), flip and wait.
    void RunFrame();

    // Takes ownership of state and destroys the current one, which may be the caller.
    void SetState(GameState* state);
    GameState* GetState() const { return currentState.get(); }
    SDL_Surface* GetScreen() { return screen; }

    // Name entry. The two setters toggle: each flag goes on with one call and off with the next.
    void SetEntername() { enterName = !enterName; }
    void SetNameentered() { nameEntered = !nameEntered; }
    // Hands a copy of the typed name to the current screen.
    void SetName();

    // Loads a picture in the screen's format with orange (255, 128, 0) as the transparent colour.
    // The caller owns the result; null when the file is missing or unreadable.
    static SDL_Surface* load_image(std::string path);

    // Plays an effect unless the player has muted the game (M).
    void PlaySound(Effect effect);
    bool Muted() const { return muted; }
    // Only a screen that says it can pause is ever paused; installing another one ends a pause.
    bool Paused() const { return paused; }

    void SetClock(std::unique_ptr<Clock> replacement) { clock = std::move(replacement); }
    void SetSound(std::unique_ptr<Sound> replacement) { sound = std::move(replacement); }
    void SetGamepad(std::unique_ptr<Gamepad> replacement) { gamepad = std::move(replacement); }
    bool QuitRequested() const { return quit; }
    bool IsTypingName() const { return enterName && !nameEntered; }
    bool NameEntryOn() const { return enterName; }
    bool NameConfirmed() const { return nameEntered; }
    const std::string& GetPlayerName() const { return playerName; }

  private:
    void HandleEvent(const SDL_Event& event);
    void KeyDown(const SDL_keysym& key);
    void PadButton(Uint8 button);
    void SendKey(GameKey key);
    void SendHeldArrows();
    bool InPlay() const;
    void TogglePause();
    void Pause();
    void DrawPauseNote();
    void ToggleMute();
    void ToggleFullScreen();
    void TypeNameKey(const SDL_keysym& key);
    void DrawNameOverlay();
    void WaitForFrameEnd(Uint32 frameEnd);

    int screenWidth = 640;
    int screenHeight = 480;
    int screenBpp = 32;
    SDL_Surface* screen = nullptr;  // the window's surface; SDL owns it
    std::unique_ptr<GameState> currentState;
    bool quit = false;
    int frameTime = 20;  // milliseconds: at most 50 frames a second
    bool enterName = false;
    bool nameEntered = false;
    std::unique_ptr<Text> nameText;
    std::unique_ptr<Text> promptText;
    std::string playerName;  // kept from one game to the next
    std::unique_ptr<Clock> clock = std::make_unique<SdlClock>();
    std::unique_ptr<Sound> sound = std::make_unique<SilentSound>();
    bool muted = false;
    bool paused = false;
    std::unique_ptr<Text> pauseNote;  // made at the first pause: a game never paused never needs it
    std::unique_ptr<Gamepad> gamepad;  // null without a joystick
};
