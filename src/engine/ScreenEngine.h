#pragma once

#include <SDL.h>

#include <string>

#include "sound/Effect.h"

class GameState;
namespace net {
class SharedTable;
}

// What a screen may ask of the engine that runs it: the next screen, the name entry's switches
// and the typed name, a sound, the bombs' chance, and the moments a recording cares about. The
// rest of the engine (window, pacing, input, switches, watching) is none of a screen's business.
class ScreenEngine {
  public:
    // A picture of the working folder with orange (255, 128, 0) as its transparent colour, each
    // failure said on standard error; none without a window. The bare form: the game's own
    // screens load theirs from the assets they are made with.
    static SDL_Surface* load_image(std::string path);

    // Takes ownership of state and destroys the current one, which may be the caller.
    virtual void SetState(GameState* state) = 0;
    // Name entry. The two setters toggle: each flag goes on with one call and off with the next.
    virtual void SetEntername() = 0;
    virtual void SetNameentered() = 0;
    // Hands a copy of the typed name to the current screen.
    virtual void SetName() = 0;
    // Plays an effect unless the player has muted the game.
    virtual void PlaySound(Effect effect) = 0;
    // The one source of the bombs' chance.
    virtual int BombDraw() = 0;
    // The menu starts a game: its recording begins with this frame.
    virtual void GameStarts() = 0;
    // The score of the game just played is stored: its replay is kept after this frame.
    virtual void ScoreStored(int points) = 0;
    // The list's key: the best kept game is watched from the next frame on. False when there is
    // none to watch.
    virtual bool WatchBestGame() = 0;
    // A game from elsewhere, as its replay's bytes, proven here and then watched from the next
    // frame on, as the best kept game is; false, with why, when it does not prove here.
    virtual bool WatchGame(const std::string& replay, std::string& why) = 0;
    // Whether the player's own settings are in use (--settings, as the launcher starts the game).
    // Only then does a screen show what the game started bare never drew: the points of the game
    // just played, the line just stored.
    virtual bool PlayersSettingsInUse() const = 0;
    // The shared table the player named, to show on the list; none without one (and the list is
    // then as it always was).
    virtual net::SharedTable* SharedScores() = 0;

  protected:
    ScreenEngine() = default;
    ~ScreenEngine() = default;
    ScreenEngine(const ScreenEngine&) = default;
    ScreenEngine& operator=(const ScreenEngine&) = default;
};
