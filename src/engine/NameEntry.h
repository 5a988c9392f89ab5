#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "gfx/Text.h"

// The player's name, typed over the game-over screen after a game: which keys make it, how long
// it grows, and the row it is drawn on with its prompt. The name stays from one game to the next.
// Its two switches change only here.
class NameEntry {
  public:
    // Its two lines in the font of assets: after the font library is up.
    explicit NameEntry(Assets& assets);

    // Each switch toggles: on with one call, off with the next. The game's end turns typing on;
    // the game-over screen's Enter turns both off again.
    void ToggleOn();
    void ToggleConfirmed();
    bool On() const { return on; }
    bool Confirmed() const { return confirmed; }
    bool Typing() const { return on && !confirmed; }
    const std::string& Name() const { return name; }

    // One key while typing. True for Return, which confirms the name as it stands.
    bool TypeKey(const SDL_keysym& key);
    // Starts from a name as typing left it in an earlier game; after another game the prompt to
    // add the score stays from it too. A replay starts where its game did.
    void Resume(const std::string& typed, bool afterAnotherGame);
    // While typing, the name and the prompt to confirm it; once confirmed, only the prompt to add
    // the score. Nothing while off.
    void Draw(SDL_Surface* screen);

    // The two lines as they stand, to be drawn.
    const Text& NameLine() const { return *nameText; }
    const Text& PromptLine() const { return *promptText; }

  private:
    void PlacePrompt();

    bool on = false;
    bool confirmed = false;
    std::string name;
    std::unique_ptr<Text> nameText;
    std::unique_ptr<Text> promptText;
};
