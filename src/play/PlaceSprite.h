#pragma once

#include <memory>

#include "engine/ScreenEngine.h"
#include "play/PlayRules.h"

namespace play {

// A new sprite of the given kind, placed first and then given its own copy of the picture.
template <typename Kind>
std::unique_ptr<Kind> PlaceSprite(Point at, const char* picture) {
    auto sprite = std::make_unique<Kind>();
    sprite->SetPos(at.x, at.y);
    sprite->SetImage(ScreenEngine::load_image(picture));
    return sprite;
}

}  // namespace play
