#pragma once

#include <string>

#include "screens/StateAddScore.h"

class GameEngine;

namespace replay {

// What the game's last Enter stored, as a replay sees it.
struct Stored {
    bool done = false;
    int points = 0;
    std::string name;
};

// Stands in for the add-score screen while a replay is proved or watched: Enter takes the name
// as the real screen would and stores nothing, then (when watched) shows the list as it stands.
class StoreCatcher : public StateAddScore {
  public:
    StoreCatcher(Assets& assets, int points, Stored& outcome, bool showList)
        : StateAddScore(assets), points(points), outcome(outcome), showList(showList) {
        SetScore(points);
    }

    void KeyPressed(int key) override;

  private:
    int points;
    Stored& outcome;  // the replay's, outliving this screen
    bool showList;
};

// Puts a catcher in place of the real add-score screen, once the game has got that far.
void CatchStore(GameEngine& engine, Stored& outcome, bool showList);

}  // namespace replay
