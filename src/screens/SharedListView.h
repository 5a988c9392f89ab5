#pragma once

#include <SDL.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/SdlPtr.h"
#include "gfx/Text.h"
#include "net/SharedTable.h"

class Assets;
class Sprite;

// The shared table on the high-score list, for a player who named one. Tab flips the list between
// this computer's lines and the table's, drawn alike: the same columns, font and cut. Below the
// list a small label names the one shown, and a line says how the game just stored fares with the
// table, or, on the table's side, that its rows are on their way or cannot be had. On the table's
// side R fetches its best game to be watched. The rows and the game come from the table's
// worker; a frame only looks whether anything came.
class SharedListView {
  public:
    // The rows below the list that this computer's side takes for the label and the line.
    static std::size_t RowsBelowLocal(bool afterStore);

    // afterStore: the list follows the store of a game. Its lines are made with assets.
    SharedListView(Assets& assets, net::SharedTable& table, bool afterStore);
    ~SharedListView();
    SharedListView(const SharedListView&) = delete;
    SharedListView& operator=(const SharedListView&) = delete;

    bool SharedShown() const { return sharedShown; }
    // Tab: the other side. The table's rows are asked for again each time its side is shown.
    void Flip();
    // Once a frame: makes the lines again when the table's worker has brought anything new.
    void Update();
    // The picture of the list without any line, for the table's side to be drawn on once.
    void KeepPlainPicture(SDL_Surface& picture);
    // The table's side in place of this computer's lines: its lines over the list's picture.
    void DrawShared(SDL_Surface* screen, Sprite& background);
    // The label and the line below the list, on either side.
    void DrawBelow(SDL_Surface* screen);

    // R on the table's side: its best game is fetched, and then handed over by TakeBestGame.
    void FetchBestGame();
    // The best game's replay, once fetched; handed over once.
    std::optional<std::string> TakeBestGame();
    // The best game fetched does not prove here: named, with why, and not watched.
    void CannotWatch(const std::string& why);

    std::size_t SharedCount() const { return lines.size(); }
    const Text& SharedText(std::size_t i) const { return *lines.at(i); }
    const std::string& LabelText() const { return labelText; }
    const std::string& StatusText() const { return statusText; }

  private:
    void MakeLines();
    void MakePage();
    void MakeBelow();
    void TakeReplayReport();

    Assets& assets;
    net::SharedTable& table;
    const bool afterStore;
    bool sharedShown = false;
    bool everShown = false;
    unsigned seen = 0;
    net::PostReport post;
    net::TableReport rows;
    std::vector<std::unique_ptr<Text>> lines;  // the table's side
    std::unique_ptr<Text> label;
    std::unique_ptr<Text> status;
    std::string labelText;
    std::string statusText;
    // The best game asked for with R: its row, what became of it, and its bytes once fetched.
    net::TableRow watched;
    std::string watchLine;  // what is said of it; empty once it is watched or for none asked
    std::optional<std::string> fetchedGame;
    std::string fetchedLine;
    SurfacePtr plain;  // the list's picture without lines; none where lines are drawn each frame
    SurfacePtr page;   // plain with the table's lines in it
};
