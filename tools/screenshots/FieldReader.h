#pragma once

#include "Field.h"
#include "Picture.h"

// Finds the cannon, the airplanes, the bombs, the bullets and the shields in a grab of the window
// by the colours that only their pictures use.
class FieldReader {
  public:
    Field Read(const Picture& picture) const;

  private:
    bool ShowsPlayScreen(const Picture& picture) const;
    bool FindCannon(const Picture& picture, int& x) const;
    SeenAirplane FindAirplane(const Picture& picture, const facts::AirplaneKind& kind) const;
    std::vector<SeenBomb> FindBombs(const Picture& picture) const;
    std::vector<SeenBullet> FindBullets(const Picture& picture) const;
    std::vector<int> FindShields(const Picture& picture) const;
    static int LevelFromShields(const std::vector<int>& shields);
};
