#pragma once

#include <memory>

#include "gfx/Assets.h"
#include "play/PlayRules.h"

namespace play {

// A new sprite of the given kind, placed first and then given its own copy of the picture (none
// where the game draws nothing).
template <typename Kind>
std::unique_ptr<Kind> PlaceSprite(Assets& assets, Point at, const char* picture) {
    auto sprite = std::make_unique<Kind>();
    sprite->SetPos(at.x, at.y);
    sprite->SetImage(assets.Picture(picture));
    return sprite;
}

}  // namespace play
