#pragma once

#include "Field.h"

// Picks the way to move: towards the place the gunner wants, by a road no falling bomb crosses.
// Every grab it weighs all the places the cannon could run to, follows each road frame by frame
// against every bomb it can see, and takes the safe place nearest the wanted one.
class Dodger {
  public:
    // -1 left, 0 stay, +1 right. `heldStep` is what the cannon does now (-3, 0 or 3), since the
    // key it holds still acts for a frame or two.
    int Direction(const Field& field, int wantedX, int heldStep) const;

    // Whether standing still from now on lets a bomb through.
    bool InDanger(const Field& field, int heldStep) const;

  private:
    // Frames until the road to `destination` first meets a bomb, or 0 if it never does.
    int FirstHit(const Field& field, int destination, int heldStep) const;
};
