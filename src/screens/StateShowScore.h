#pragma once

#include <SDL.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameState.h"
#include "gfx/Sprite.h"
#include "gfx/Text.h"
#include "screens/SharedListView.h"

class Assets;

// Where the score just stored went: its points, and the place of its line in the file (counted
// from 1, the first line that equals it) among so many lines. Place 0: none.
struct StoredPlace {
    int points = 0;
    std::size_t place = 0;
    std::size_t of = 0;
};

// The high-score list: the first lines of the file as they stand, in two columns over a picture.
// Enter goes back to the menu. After a store that failed, a notice says so in the list's first
// row, and the list begins a row lower. The line just stored may stand out in a colour of its own
// for as long as the list is shown; one stored below the lines shown is told where it went, in
// that colour, in the list's last row. A player who named a shared table flips to it with Tab;
// its label, and after a store how the game fared there, then take the last rows.
class StateShowScore : public GameState {
  public:
    // Reads the file and renders the list once, its picture and lines from assets (which the menu
    // after it is made with too); every frame after only blits.
    explicit StateShowScore(Assets& assets);
    // notice: why the score just played was not stored; empty after a store that went through.
    // justStored: the line to draw in its own colour (the first that equals it); empty for none.
    // stored: where that line went, told when it is below the lines shown.
    // shared: the table the player named, shown on Tab over the same picture; none without one.
    StateShowScore(Assets& assets, const std::string& notice,
                   const std::string& justStored = std::string(), StoredPlace stored = {},
                   net::SharedTable* shared = nullptr);
    ~StateShowScore() override;
    StateShowScore(const StateShowScore&) = delete;
    StateShowScore& operator=(const StateShowScore&) = delete;

    void MoveSprites() override;
    void Draw(SDL_Surface* screen) override;
    // Enter installs a new menu: this screen is gone then. R watches the best game kept, or says
    // for two seconds that there is none. Tab shows the shared table, and this computer's list
    // again, where a table is named.
    void KeyPressed(int key) override;

    // Reads the lines that the list shows, in file order.
    void ReadFile();

    const std::string& GetFileName() const { return fileName; }
    const std::vector<std::string>& GetEntries() const { return entries; }
    std::size_t ShownCount() const { return entryTexts.size(); }
    const Text& ShownText(std::size_t i) const { return *entryTexts.at(i); }
    const std::string& GetNotice() const { return notice; }
    const Text* NoticeText() const { return noticeText.get(); }
    // The line that tells where a score below the list went; none otherwise.
    const Text* PlaceText() const { return placeText.get(); }
    const SharedListView* Shared() const { return shared.get(); }

  private:
    void DrawLinesIntoPicture(const SDL_Surface& frame);
    void DrawNothingKept(SDL_Surface* screen);

    Assets& assets;
    std::unique_ptr<Sprite> background;
    std::string fileName;
    std::vector<std::string> entries;
    std::vector<std::unique_ptr<Text>> entryTexts;
    std::string notice;
    std::unique_ptr<Text> noticeText;  // only after a failed store
    std::unique_ptr<Text> placeText;   // only after a store below the lines shown
    bool pictureChecked = false;
    bool linesInPicture = false;
    std::unique_ptr<Text> nothingKept;       // made at the first R with no game kept
    int nothingKeptFrames = 0;               // how much longer it is shown
    std::unique_ptr<SharedListView> shared;  // only where a shared table is named
};
