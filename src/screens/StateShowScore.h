#pragma once

#include <SDL.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameState.h"
#include "gfx/Sprite.h"
#include "gfx/Text.h"

// The high-score list: the first lines of the file as they stand, in two columns over a picture.
// Enter goes back to the menu.
class StateShowScore : public GameState {
  public:
    // Reads the file and renders the list once; every frame after only blits.
    StateShowScore();
    ~StateShowScore() override;
    StateShowScore(const StateShowScore&) = delete;
    StateShowScore& operator=(const StateShowScore&) = delete;

    void Draw(SDL_Surface* screen) override;
    // Enter installs a new menu: this screen is gone then.
    void KeyPressed(int key) override;

    // Reads the lines that the list shows, in file order.
    void ReadFile();

    const std::string& GetFileName() const { return fileName; }
    const std::vector<std::string>& GetEntries() const { return entries; }
    std::size_t ShownCount() const { return entryTexts.size(); }
    const Text& ShownText(std::size_t i) const { return *entryTexts.at(i); }

  private:
    std::unique_ptr<Sprite> background;
    std::string fileName;
    std::vector<std::string> entries;
    std::vector<std::unique_ptr<Text>> entryTexts;
};
