#pragma once

#include "Field.h"

// Leads the shots: a bullet takes about 90 frames to climb to the airplanes, so the cannon has to
// stand where an airplane will be by then, not where it is.
class Gunner {
  public:
    // Where the cannon should stand to meet the airplanes with its next shots; when no airplane
    // can be met on this pass, where to wait for the next one.
    int AimX(const Field& field) const;

    // Whether a bullet fired now meets an airplane, whichever of the next few frames takes the
    // key, while the cannon moves by `cannonStep` pixels a frame.
    bool ShotHits(const Field& field, int cannonStep) const;

    // The x of the bomb the cannon can reach soonest and shoot before it lands, away from the
    // shields; INT_MIN when there is none.
    static int BombToMeet(const Field& field);

    // Whether a bullet from a cannon at x would reach the airplanes past the shields.
    static bool ClearOfShields(const Field& field, int cannonX);

  private:
    static bool Meets(const Field& field, int bulletX, int framesUntilFired);
};
