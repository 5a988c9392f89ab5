#pragma once

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/GameState.h"
#include "gfx/Sprite.h"
#include "scores/HighScoreFile.h"
#include "scores/HighScoreIo.h"
#include "screens/PointsLine.h"

class Assets;

// Between the game-over screen and the list: Enter stores the finished game's score under the
// name typed over the game-over screen, then shows the high scores.
class StateAddScore : public GameState {
  public:
    // Touches neither the engine (there is none until installation) nor the high-score file. Its
    // picture comes from assets, which the list after it is made with too.
    explicit StateAddScore(Assets& assets);
    ~StateAddScore() override;
    StateAddScore(const StateAddScore&) = delete;
    StateAddScore& operator=(const StateAddScore&) = delete;

    void SetScore(int score) { this->score = score; }
    int GetScore() const { return score; }
    void Draw(SDL_Surface* screen) override;
    // Enter stores exactly one entry and installs the high-score list: this screen is gone then.
    void KeyPressed(int key) override;

    // Storing, in the order Enter runs them. ReadFile fetches the typed name from the engine and
    // keeps other games from storing into the folder until WriteFile has put the file in place.
    void ReadFile();
    void AddScore();
    void SortScore();
    // A store that fails is told once on standard error, and on the list that follows.
    void WriteFile();
    // The decimal text of value, as stream insertion writes it.
    static std::string itos(int value);

    // Replaces the system calls that put the file in place (tests make them fail).
    void SetFileIo(std::unique_ptr<HighScoreIo> io);

    const std::string& GetFileName() const { return fileName; }
    const std::vector<std::string>& GetEntries() const { return entries; }

  protected:
    Assets& assets;

  private:
    std::unique_ptr<Sprite> background;
    std::string fileName;
    std::vector<std::string> entries;
    int score = 0;
    std::unique_ptr<HighScoreFile> file;
    PointsLine points;  // with the player's settings only
};
